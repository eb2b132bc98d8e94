#include "editor/files/ScaleFiles.h"

#include "common/QelCommon.h"
#include "platform/System.h"
#include "state/TextCodec.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <optional>
#include <span>

namespace ostinel {

namespace {

constexpr std::string_view kDefaultScales = "Chromatic;0,1,2,3,4,5,6,7,8,9,10,11\r\n"
                                            "Major;0,2,4,5,7,9,11\r\n"
                                            "Minor - Natural;0,2,3,5,7,8,10\r\n"
                                            "Minor - Melodic;0,2,3,5,7,9,11\r\n"
                                            "Minor - Harmonic;0,2,3,5,7,8,11\r\n"
                                            "Pentatonic - Major;0,2,4,7,9\r\n"
                                            "Pentatonic - Minor;0,3,5,7,10\r\n"
                                            "Blues;0,3,5,6,7,10\r\n";

constexpr std::string_view kDefaultInput = "Audio Damage Tattoo;36,51;44,47,48,50\r\n"
                                           "FXpansion Geist;36,51\r\n"
                                           "FXpansion Tremor;36,43\r\n";

constexpr int kLowestNote = 0;
constexpr int kHighestNote = kMapNotes - 1;

[[nodiscard]] bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

[[nodiscard]] std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

[[nodiscard]] bool HasPrefix(std::span<const std::uint8_t> bytes,
                             std::initializer_list<std::uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// The whole file as UTF-8, chosen by its byte-order mark.
[[nodiscard]] std::string DecodeText(std::span<const std::uint8_t> bytes) {
    if (HasPrefix(bytes, {0xEF, 0xBB, 0xBF})) {
        const auto rest = bytes.subspan(3);
        return codec::SanitizeUtf8(
            std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size()));
    }
    if (HasPrefix(bytes, {0xFF, 0xFE}))
        return codec::Utf16LeToUtf8(bytes.subspan(2));
    if (HasPrefix(bytes, {0xFE, 0xFF})) {
        std::vector<std::uint8_t> swapped(bytes.begin() + 2, bytes.end());
        for (std::size_t i = 0; i + 1 < swapped.size(); i += 2)
            std::swap(swapped[i], swapped[i + 1]);
        return codec::Utf16LeToUtf8(swapped);
    }
    // No mark: text editors on Linux (and recent Notepad) save UTF-8 without one, so bytes that
    // are valid UTF-8 are read as such; anything else is the 8-bit code page, Windows-1252 like
    // the value stream's single-byte texts.
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::string asUtf8 = codec::SanitizeUtf8(raw);
    if (asUtf8 == raw)
        return asUtf8;
    return codec::Cp1252ToUtf8(bytes);
}

// Lines end at CR LF, LF or CR; a last line without an ending still counts, an ending at the
// very end opens no further line.
[[nodiscard]] std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2u : 1u;
        start = i;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

void SortLines(std::vector<std::string>& lines) {
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return CompareTextNoCase(a, b) < 0;
    });
}

[[nodiscard]] std::vector<std::string> SortedLines(std::string_view text) {
    std::vector<std::string> lines = SplitLines(text);
    SortLines(lines);
    return lines;
}

// A decimal integer with optional sign and surrounding blanks; nullopt for anything else,
// including values beyond 32 bits.
[[nodiscard]] std::optional<int> ParseInt(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 0x80000000LL)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > 0x7FFFFFFFLL)
        return std::nullopt;
    return static_cast<int>(value);
}

// The values of a comma list field: k commas give k + 1 values (missing ones as nullopt).
[[nodiscard]] std::vector<std::optional<int>> ListValues(const std::string& field) {
    std::vector<std::optional<int>> values;
    const int count = CountOccurrences(",", field) + 1;
    values.reserve(static_cast<std::size_t>(count));
    for (int v = 1; v <= count; ++v)
        values.push_back(ParseInt(GetDelimitedField(field, v, ",")));
    return values;
}

[[nodiscard]] std::string ListField(const std::string& line, int fieldNumber) {
    return GetDelimitedField(line, fieldNumber, ";");
}

void SetNoteOrNone(TOstinToItem& target, std::int64_t note) {
    const bool inside = note >= kLowestNote && note <= kHighestNote;
    target.SetNote(inside ? static_cast<float>(note) : -1.0f);
}

} // namespace

std::string_view DefaultScalesText() {
    return kDefaultScales;
}

std::string_view DefaultInputText() {
    return kDefaultInput;
}

std::vector<std::string> ParseUserList(std::span<const std::uint8_t> bytes) {
    return SortedLines(DecodeText(bytes));
}

std::vector<std::string> ReadUserList(const std::string& folder, const std::string& fileName,
                                      std::string_view defaultText) {
    if (folder.empty()) // no user folder at all: nowhere sensible to keep a file
        return SortedLines(defaultText);
    std::string path = folder;
    if (path.back() != '/' && path.back() != platform::kPathDelimiter)
        path += platform::kPathDelimiter;
    path += fileName;
    try {
        if (!platform::FileExists(path)) {
            platform::CreateFolders(folder);
            platform::WriteFile(path,
                                std::vector<std::uint8_t>(defaultText.begin(), defaultText.end()));
        }
        return ParseUserList(platform::ReadFile(path));
    } catch (const std::exception&) {
        // A folder or file we cannot create or read: the menus still get the built-in entries.
        return SortedLines(defaultText);
    }
}

bool IsListEntry(const std::string& line) {
    return !Trim(line).empty();
}

std::string ListEntryCaption(const std::string& line) {
    return ListField(std::string(Trim(line)), 1);
}

std::vector<int> ScaleDegrees(const std::string& line) {
    std::vector<int> degrees;
    for (const std::optional<int>& value : ListValues(ListField(line, 2))) {
        if (value && *value >= 0 && *value <= 11)
            degrees.push_back(*value);
    }
    std::sort(degrees.begin(), degrees.end());
    if (!degrees.empty() && degrees.front() > 0)
        degrees.insert(degrees.begin(), 0);
    return degrees;
}

bool LoadScale(TOstinelChannel& channel, int sourceNote, int targetIndex, int baseNote,
               const std::vector<int>& degrees) {
    if (degrees.empty() || sourceNote < kLowestNote || sourceNote > kHighestNote ||
        targetIndex < 0 || targetIndex >= TOstinTo::Count())
        return false;
    // 64-bit arithmetic: the root walks 12 per octave from any base the caller passes.
    const auto m = degrees.size();
    std::size_t i = 0;
    std::int64_t root = baseNote;
    for (int k = sourceNote; k <= kHighestNote; ++k) {
        SetNoteOrNone(channel.Notes[k].Targets[targetIndex], root + degrees[i]);
        if (i == m - 1) {
            root += 12;
            i = 0;
        } else {
            ++i;
        }
    }
    i = m - 1;
    root = baseNote;
    for (int k = sourceNote - 1; k >= kLowestNote; --k) {
        SetNoteOrNone(channel.Notes[k].Targets[targetIndex], root + degrees[i] - 12);
        if (i == 0) {
            root -= 12;
            i = m - 1;
        } else {
            --i;
        }
    }
    return true;
}

TInputTemplate ParseInputTemplate(const std::string& line) {
    TInputTemplate result;
    const std::vector<std::optional<int>> range = ListValues(ListField(line, 2));
    result.First = range[0].value_or(kLowestNote);
    result.Last = range.size() > 1 ? range[1].value_or(kHighestNote) : kHighestNote;
    const std::string silenced = ListField(line, 3);
    if (!silenced.empty()) {
        for (const std::optional<int>& value : ListValues(silenced)) {
            if (value && *value >= kLowestNote && *value <= kHighestNote)
                result.Silenced.push_back(*value);
        }
    }
    return result;
}

void MapNotesToThemselves(TOstinelChannel& channel, int from, int to) {
    from = std::max(from, kLowestNote);
    to = std::min(to, kHighestNote);
    for (int n = from; n <= to; ++n) {
        TOstinTo& targets = channel.Notes[n].Targets;
        targets[0].SetNote(static_cast<float>(n));
        for (int t = 1; t < TOstinTo::Count(); ++t)
            targets[t].SetNote(-1);
    }
}

void SilenceNotes(TOstinelChannel& channel, const std::vector<int>& notes) {
    for (const int n : notes) {
        if (n < kLowestNote || n > kHighestNote)
            continue;
        for (int t = 0; t < TOstinTo::Count(); ++t)
            channel.Notes[n].Targets[t].SetNote(-1);
    }
}

} // namespace ostinel
