// The lint of the pages' code (viewer/: the viewer and the studio pages and
// what they share), run by scripts/run-tests: eslint's recommended rules,
// and no use of a name before the line that declares it.
import js from '@eslint/js';
import globals from 'globals';

export default [
  {
    files: ['viewer/**/*.js'],
    languageOptions: {
      ecmaVersion: 2022,
      sourceType: 'module',
      globals: globals.browser,
    },
    rules: {
      ...js.configs.recommended.rules,
      'no-use-before-define': ['error', { functions: false }],
    },
  },
];
