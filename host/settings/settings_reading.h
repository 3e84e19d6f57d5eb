// The effect's settings as the host reads them itself from the effect's saved
// lines (a .plf file's lines, or the block between "Plugin ... PLOF!" and
// "EndPlugin" in a scene), exactly as the effect reads them:
//   - the first line opens the block when "PLOF_START" begins with its
//     keyword (the text before the first space); otherwise nothing is read;
//   - each later line is split at its first space; the block ends at a line
//     whose keyword begins "PLOF_END" or is empty (an empty or space-led
//     line), or when the lines run out;
//   - a keyword is matched against the settings' keywords in the order of
//     PLOF_HOST_SETTING_ROWS below, then REFERENCE: the first that begins
//     with it wins, so "Grav" sets Gravity and "Gravty" sets nothing;
//   - the value is the longest decimal number at the start of the text after
//     the space (blanks skipped; "inf" and "nan" too), 0 when there is none;
//     a line without a space sets nothing; whole-number settings keep the
//     value truncated toward zero (saturating), OrgEmit its low 8 bits;
//   - REFERENCE takes the next line whole, cut to 255 characters, as the
//     avoid object's name ("none": no avoid object);
//   - lines are cut to the effect's 255-character line buffer.
// Settings that the lines do not set keep a new instance's values.
//
// The .plf file form (the options panel's "L" button) differs: the effect
// reads the file with its line ends, so a line without a space has a keyword
// ending in a line feed and sets nothing, an empty line is skipped rather
// than ending the block; a line longer than 255 characters is cut there
// too, its rest skipped.
//
// This is the host's own reading of the file format: summaries, pictures and
// warnings are computed from it, never from the module's code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plof::host {

// The settings, one row each, in the order the effect matches keywords (and
// writes them): the keyword, its kind, a new instance's value, what the
// options panel lets a person choose (kAny: any number), how a person meets
// it there, its control's label, its unit, the control (PanelInput) and the
// smallest change the panel makes. The enum, the count and kSettingRules are
// made from it.
#define PLOF_HOST_SETTING_ROWS(ROW)                                                                                    \
    ROW(V0Min, Decimal, 1.0, -kAny, kAny, "the speed field", "V0  Min", "units per second", Float, 0.0)                \
    ROW(V0Max, Decimal, 4.0, -kAny, kAny, "the speed field", "Max", "units per second", Float, 0.0)                    \
    ROW(AgeMin, Whole, 10.0, -kAny, kAny, "\" Age Min frame \"", "Age Min frame", "frames", Whole, 1.0)                \
    ROW(AgeMax, Whole, 60.0, -kAny, kAny, "the age field", "Max", "frames", Whole, 1.0)                                \
    ROW(Gravity, Decimal, 9.8, -kAny, kAny, "\"Gravity\"", "Gravity", "units per second\u00b2", Float, 0.0)            \
    /* The panel's "Registance" slider runs 0..100 and shows 20 x Regist. */                                           \
    ROW(Regist, Decimal, 0.0, 0.0, 5.0, "the \"Registance\" slider (0..100 = Regist 0..5)", "Registance",              \
        "per second", Slider, 0.05)                                                                                    \
    ROW(START_F, Whole, 0.0, -kAny, kAny, "\"SparkFrame\"", "SparkFrame", "frame", Whole, 1.0)                         \
    ROW(Birth, Whole, 100.0, -kAny, kAny, "\"BirthRate p/s\"", "BirthRate p/s", "particles per second", Whole, 1.0)    \
    ROW(ReCycle, Whole, 1.0, 0.0, 1.0, "the \"Recycle\" check box (0 or 1)", "Recycle", "on/off", Check, 1.0)          \
    ROW(SpreadMin, Whole, 0.0, 0.0, 180.0, "the \"Spread Min\" slider (0..180)", "Spread Min", "degrees", Slider, 1.0) \
    ROW(SpreadMax, Whole, 180.0, 0.0, 180.0, "the \"Spread Max\" slider (0..180)", "Spread Max", "degrees", Slider,    \
        1.0)                                                                                                           \
    ROW(OrgEmit, Byte, 0.0, 0.0, 1.0, "the \"OrgEmitter\" check box (0 or 1)", "OrgEmitter", "on/off", Check, 1.0)

#define PLOF_HOST_SETTING_NAME(name, ...) name,
enum class Setting : std::size_t { PLOF_HOST_SETTING_ROWS(PLOF_HOST_SETTING_NAME) };
#undef PLOF_HOST_SETTING_NAME
#define PLOF_HOST_SETTING_ONE(...) +1
inline constexpr std::size_t kSettingCount = 0 PLOF_HOST_SETTING_ROWS(PLOF_HOST_SETTING_ONE);
#undef PLOF_HOST_SETTING_ONE

enum class SettingKind { Decimal, Whole, Byte };

// The options panel's control for a setting: a float field, a whole-number
// field, a slider or a check box.
enum class PanelInput { Float, Whole, Slider, Check };

struct SettingRule {
    const char *keyword;
    SettingKind kind;
    double newInstanceValue;
    // What the options panel lets a person choose (a slider's ends, a check
    // box's off and on); infinite where the panel takes any number.
    double panelMin;
    double panelMax;
    const char *panelControl;  // how a person meets it in the panel
    const char *panelLabel;    // the panel's label without the spaces around it
    const char *unit;
    PanelInput input;
    // The smallest change the panel makes (a slider's position is Regist x 20,
    // so 0.05); 0 where its field takes any number.
    double panelStep;
};

// The settings in the order the effect matches keywords (and writes them).
extern const std::array<SettingRule, kSettingCount> kSettingRules;
inline const SettingRule &ruleOf(Setting setting) { return kSettingRules[static_cast<std::size_t>(setting)]; }

// The keyword after the twelve settings in the matching order: the next line
// names the avoid object.
inline constexpr std::string_view kReferenceKeyword = "REFERENCE";
// The options panel's label of the avoid-object list, without its spaces.
inline constexpr std::string_view kReferenceLabel = "Avoid Object";

// The longest name the effect keeps for the avoid object.
inline constexpr std::size_t kAvoidNameLength = 255;
// The longest line the effect reads whole.
inline constexpr std::size_t kSettingsLineLength = 255;

struct EffectSettings {
    std::array<double, kSettingCount> values{};  // whole-number settings hold whole numbers
    std::string avoidObject;                     // "" for a new instance

    EffectSettings();
    double number(Setting setting) const { return values[static_cast<std::size_t>(setting)]; }
    int32_t whole(Setting setting) const { return static_cast<int32_t>(number(setting)); }
};

// How the effect read one line of its saved lines.
struct SettingsLine {
    enum class Role {
        Start,      // opened the block
        Value,      // set `setting` (or, with no value on it, set nothing)
        Reference,  // the next line is the avoid object's name
        Name,       // the avoid object's name
        Skipped,    // matched no keyword
        End,        // ended the block
    };
    std::size_t lineNumber = 0;  // in its file
    std::string text;            // the whole line as written
    Role role = Role::Skipped;
    std::string keyword;  // up to the first space, as read
    std::optional<Setting> setting;
    std::optional<double> value;  // when the line has a space
    std::string valueText;        // the text after the first space
    bool cut = false;             // longer than the effect's line buffer
};

enum class LineForm { Block, File };

struct SettingsReading {
    EffectSettings settings;
    std::vector<SettingsLine> lines;  // the lines the effect read, in order
    bool started = false;             // the first line opened the block
    bool endLine = false;             // a PLOF_END line closed it
    // Lines (neither blank nor PLOF_END) after the line that ended the
    // block, which the effect never reads: the first one's number, and how
    // many there are; and whether a PLOF_END line is among the unread ones.
    std::size_t firstUnreadLine = 0;
    std::size_t unreadLines = 0;
    bool unreadEndLine = false;
};

// Reads `lines` (without line ends), the first of which is line
// `firstLineNumber` of its file.
SettingsReading readSettingsLines(std::span<const std::string> lines, std::size_t firstLineNumber,
                                  LineForm form = LineForm::Block);

// The settings alone.
EffectSettings readEffectSettings(std::span<const std::string> lines, std::size_t firstLineNumber = 1,
                                  LineForm form = LineForm::Block);

// The number at the start of `text` as the effect reads it: blanks skipped,
// then a sign, digits, point and exponent as far as they go, or "inf",
// "infinity", "nan" in any case. `length` gets how many characters were
// read (0 when no number begins the text, the value then being 0).
double readDecimalPrefix(std::string_view text, std::size_t &length);

}  // namespace plof::host
