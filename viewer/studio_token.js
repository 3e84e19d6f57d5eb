// The studio's token, kept where only this server's page sees it: taken from
// the address plof-host printed (?token=...) into this tab's sessionStorage
// (one per origin, so per port: two studios side by side keep their own),
// then removed from the address bar so that it is neither bookmarked nor
// shown. Every request of the interface carries it as
// "Authorization: Bearer TOKEN"; no cookie holds it.
const KEY = 'plof_studio_token';

function tokenFromAddress() {
  const address = new URL(window.location.href);
  const token = address.searchParams.get('token');
  if (token) {
    sessionStorage.setItem(KEY, token);
    address.searchParams.delete('token');
    window.history.replaceState(null, '', address.pathname + address.search + address.hash);
  }
  return sessionStorage.getItem(KEY) || '';
}

const token = tokenFromAddress();

// fetch() with the token's header added.
export function authorizedFetch(path, options = {}) {
  const headers = new Headers(options.headers || {});
  headers.set('Authorization', 'Bearer ' + token);
  return fetch(path, { ...options, headers });
}
