#include "host/settings/settings_reading.h"

#include <fast_float/fast_float.h>

#include <cmath>
#include <limits>

#include "host/base/text_words.h"

namespace plof::host {

namespace {

constexpr double kAny = std::numeric_limits<double>::infinity();

// The saturating truncation the effect applies to whole-number settings.
double truncated(double value) {
    if (std::isnan(value)) return 0.0;
    if (value >= 2147483647.0) return 2147483647.0;
    if (value <= -2147483648.0) return -2147483648.0;
    return std::trunc(value);
}

double stored(SettingKind kind, double value) {
    switch (kind) {
        case SettingKind::Decimal: return value;
        case SettingKind::Whole: return truncated(value);
        case SettingKind::Byte:
            return static_cast<double>(static_cast<uint32_t>(static_cast<int32_t>(truncated(value))) & 0xFFu);
    }
    return value;
}

// One read of the effect: the text it got, and the file line it came from.
struct ReadText {
    std::string text;
    std::size_t lineNumber;
    std::size_t source;  // index into the caller's lines
    bool cut;
};

// Hands out lines as the effect's reads get them: each line cut to the
// buffer, its rest skipped; the file form keeps the line end ("\n") when it
// fits.
class LineReads {
public:
    LineReads(std::span<const std::string> lines, std::size_t firstLineNumber, LineForm form)
        : lines_(lines), first_(firstLineNumber), form_(form) {}

    // The next read with a buffer of `length` characters, or nothing at the end.
    std::optional<ReadText> next(std::size_t length) {
        if (line_ >= lines_.size()) return std::nullopt;
        const std::string &whole = lines_[line_];
        // Cut: the line holds more characters than the read takes (its line
        // end aside, which in the file form only makes one empty read more).
        ReadText read{"", first_ + line_, line_, whole.size() > length};
        // fgets in the file form: up to `length` characters, the line end
        // included when it fits.
        read.text = (form_ == LineForm::Block ? whole : whole + "\n").substr(0, length);
        ++line_;
        return read;
    }

    // Where reading stopped: the index of the first line not yet read.
    std::size_t position() const { return line_; }

private:
    std::span<const std::string> lines_;
    std::size_t first_;
    LineForm form_;
    std::size_t line_ = 0;
};

// The line after REFERENCE, read as the avoid object's name (the name is
// cleared first, as the effect does); false when the lines ran out.
bool readAvoidName(LineReads &reads, std::span<const std::string> lines, SettingsReading &reading) {
    auto nameRead = reads.next(kAvoidNameLength);
    reading.settings.avoidObject.clear();
    if (!nameRead) return false;
    SettingsLine name;
    name.lineNumber = nameRead->lineNumber;
    name.text = lines[nameRead->source];
    name.role = SettingsLine::Role::Name;
    std::string text = nameRead->text;
    if (!text.empty() && text.back() == '\n') text.pop_back();
    name.cut = nameRead->cut;
    name.keyword = text;
    reading.settings.avoidObject = text;
    reading.lines.push_back(std::move(name));
    return true;
}

// The lines from index `from` on, which the effect never reads: the first
// one's number and how many there are (blank lines aside), and whether a
// PLOF_END line is among them.
void noteUnreadLines(std::span<const std::string> lines, std::size_t from, std::size_t firstLineNumber,
                     SettingsReading &reading) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].find_first_not_of(" \t") == std::string::npos) continue;
        if (lines[i] == "PLOF_END") {
            reading.unreadEndLine = true;
            continue;
        }
        if (reading.unreadLines++ == 0) reading.firstUnreadLine = firstLineNumber + i;
    }
}

SettingsLine split(const ReadText &read, std::span<const std::string> lines) {
    SettingsLine line;
    line.lineNumber = read.lineNumber;
    line.text = lines[read.source];
    line.cut = read.cut;
    const auto space = read.text.find(' ');
    line.keyword = read.text.substr(0, space);
    if (space != std::string::npos) {
        line.valueText = read.text.substr(space + 1);
        std::size_t length = 0;
        line.value = readDecimalPrefix(read.text.substr(space), length);
    }
    return line;
}

// The setting (0..11) or REFERENCE (12) that the keyword read selects: the
// first whose keyword begins with what was read, as the effect tests it.
std::optional<std::size_t> match(std::string_view keyword, LineForm form) {
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        if (std::string_view(kSettingRules[i].keyword).starts_with(keyword)) return i;
    }
    const std::string reference = std::string(kReferenceKeyword) + (form == LineForm::File ? "\n" : "");
    if (std::string_view(reference).starts_with(keyword)) return kSettingCount;
    return std::nullopt;
}

}  // namespace

#define PLOF_HOST_SETTING_RULE(name, kind, newValue, panelMin, panelMax, control, label, unit, input, step) \
    {#name, SettingKind::kind, newValue, panelMin, panelMax, control, label, unit, PanelInput::input, step},
const std::array<SettingRule, kSettingCount> kSettingRules = {{PLOF_HOST_SETTING_ROWS(PLOF_HOST_SETTING_RULE)}};
#undef PLOF_HOST_SETTING_RULE

EffectSettings::EffectSettings() {
    for (std::size_t i = 0; i < kSettingCount; ++i) values[i] = kSettingRules[i].newInstanceValue;
}

double readDecimalPrefix(std::string_view text, std::size_t &length) {
    std::size_t p = 0;
    while (p < text.size() && isBlank(text[p])) ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    const std::string_view rest = text.substr(p);
    const double sign = negative ? -1.0 : 1.0;
    for (std::string_view word : {"infinity", "inf"}) {
        if (startsWithIgnoringCase(rest, word)) {
            length = p + word.size();
            return sign * std::numeric_limits<double>::infinity();
        }
    }
    if (startsWithIgnoringCase(rest, "nan")) {
        length = p + 3;
        return std::numeric_limits<double>::quiet_NaN();
    }
    length = 0;
    if (rest.empty() || !((rest[0] >= '0' && rest[0] <= '9') || rest[0] == '.')) return 0.0;
    double value = 0.0;
    // Beyond the double range the effect reads infinity (or zero, for a tiny
    // exponent), what strtod gives, and so does fast_float.
    const auto result =
        fast_float::from_chars(rest.data(), rest.data() + rest.size(), value, fast_float::chars_format::general);
    if (result.ec != std::errc{}) return 0.0;
    length = p + static_cast<std::size_t>(result.ptr - rest.data());
    return sign * value;
}

SettingsReading readSettingsLines(std::span<const std::string> lines, std::size_t firstLineNumber, LineForm form) {
    SettingsReading reading;
    LineReads reads(lines, firstLineNumber, form);
    const std::string start = form == LineForm::File ? "PLOF_START\n" : "PLOF_START";
    const std::string end = form == LineForm::File ? "PLOF_END\n" : "PLOF_END";

    auto first = reads.next(kSettingsLineLength);
    if (!first) return reading;
    SettingsLine opening = split(*first, lines);
    reading.started = std::string_view(start).starts_with(opening.keyword);
    opening.role = reading.started ? SettingsLine::Role::Start : SettingsLine::Role::Skipped;
    reading.lines.push_back(std::move(opening));

    while (reading.started) {
        auto read = reads.next(kSettingsLineLength);
        if (!read) break;
        SettingsLine line = split(*read, lines);
        // The effect's block ends at any beginning of PLOF_END, and at the
        // empty keyword (an empty or space-led line), which begins " ".
        const bool endsBlock = std::string_view(end).starts_with(line.keyword);
        if (endsBlock || std::string_view(" ").starts_with(line.keyword)) {
            line.role = SettingsLine::Role::End;
            reading.endLine = endsBlock && !line.keyword.empty();
            reading.lines.push_back(std::move(line));
            break;
        }
        const auto matched = match(line.keyword, form);
        if (!matched) {
            line.role = SettingsLine::Role::Skipped;
            reading.lines.push_back(std::move(line));
            continue;
        }
        if (*matched == kSettingCount) {
            line.role = SettingsLine::Role::Reference;
            reading.lines.push_back(std::move(line));
            if (!readAvoidName(reads, lines, reading)) break;
            continue;
        }
        line.role = SettingsLine::Role::Value;
        line.setting = static_cast<Setting>(*matched);
        if (line.value) reading.settings.values[*matched] = stored(kSettingRules[*matched].kind, *line.value);
        reading.lines.push_back(std::move(line));
    }

    noteUnreadLines(lines, reads.position(), firstLineNumber, reading);
    return reading;
}

EffectSettings readEffectSettings(std::span<const std::string> lines, std::size_t firstLineNumber, LineForm form) {
    return readSettingsLines(lines, firstLineNumber, form).settings;
}

}  // namespace plof::host
