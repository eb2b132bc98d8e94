#include "preset/PresetJson.h"

#include "preset/NoteLabel.h"

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <system_error>

namespace ostinel::cli {

namespace {

using json::Kind;
using json::Value;

// ---- Writing -----------------------------------------------------------------------------

std::string Number(double v) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

std::string Number(float v) {
    return ShortestText(v);
}

std::string NoteOf(float value) {
    return NoteLabelTrimmed(static_cast<int>(std::lround(value)));
}

void WriteTarget(std::string& out, const TOstinToItem& t) {
    out += "{\"channel\": " + Number(t.Channel()) + ", \"note\": " + Number(t.Note());
    if (t.Note() >= 0.0f)
        out += ", \"label\": " + json::Quote(NoteOf(t.Note()));
    out += ", \"probability\": " + Number(t.Probability()) +
           ", \"velocityScale\": " + Number(t.VelocityScale()) +
           ", \"random\": " + Number(t.Random()) + "}";
}

void WriteRows(std::string& out, const TOstinel& map, int c) {
    bool first = true;
    for (int n = 0; n < TOstinList::Count(); ++n) {
        if (!RowDiffersFromDefault(map, c, n))
            continue;
        const TChannelOstinItem& row = map[c].Notes[n];
        out += first ? "\n" : ",\n";
        first = false;
        out += "        {\"note\": " + std::to_string(n) +
               ", \"label\": " + json::Quote(NoteLabelTrimmed(n));
        if (row.SourceNote() != n)
            out += ", \"sourceNote\": " + std::to_string(row.SourceNote());
        out += ", \"targets\": [";
        for (int k = 0; k < TOstinTo::Count(); ++k) {
            out += "\n          ";
            WriteTarget(out, row.Targets[k]);
            if (k + 1 < TOstinTo::Count())
                out += ',';
        }
        out += "]}";
    }
    out += first ? "]" : "\n      ]";
}

// ---- Reading -----------------------------------------------------------------------------

[[noreturn]] void Fail(const std::string& place, const std::string& problem, json::Position where) {
    throw PresetJsonError((place.empty() ? std::string("document") : place) + ": " + problem +
                          " (" + json::Describe(where) + ")");
}

std::string Join(const std::string& place, std::string_view key) {
    return place.empty() ? std::string(key) : place + "." + std::string(key);
}

std::string Index(const std::string& place, std::size_t i) {
    return place + "[" + std::to_string(i) + "]";
}

void ExpectKind(const Value& v, Kind kind, const std::string& place) {
    if (v.kind != kind)
        Fail(place,
             std::string("expected ") + json::KindName(kind) + ", found " + json::KindName(v.kind),
             v.where);
}

// An object whose fields all come from `known`.
void CheckObject(const Value& v, const std::string& place,
                 std::initializer_list<std::string_view> known) {
    ExpectKind(v, Kind::Object, place);
    for (const json::Member& m : v.members) {
        bool found = false;
        for (std::string_view k : known)
            found = found || m.key == k;
        if (!found) {
            std::string list;
            for (std::string_view k : known)
                list += (list.empty() ? "" : ", ") + std::string(k);
            Fail(place, "unknown field " + json::Quote(m.key) + " (fields here: " + list + ")",
                 m.keyWhere);
        }
    }
}

const Value& Require(const Value& object, std::string_view key, const std::string& place) {
    const Value* v = object.Find(key);
    if (v == nullptr)
        Fail(place, "missing field " + json::Quote(key), object.where);
    return *v;
}

double RangedNumber(const Value& v, const std::string& place, double lo, double hi) {
    ExpectKind(v, Kind::Number, place);
    if (!(v.number >= lo && v.number <= hi))
        Fail(place, v.text + " is out of range " + Number(lo) + " to " + Number(hi), v.where);
    return v.number;
}

std::int32_t Integer(const Value& v, const std::string& place, double lo, double hi) {
    const double d = RangedNumber(v, place, lo, hi);
    if (d != std::floor(d))
        Fail(place, v.text + " is not a whole number", v.where);
    return static_cast<std::int32_t>(d);
}

// The float nearest to the number as written (not through a double, which could round twice).
float Single(const Value& v, const std::string& place, float lo, float hi) {
    const double d = RangedNumber(v, place, static_cast<double>(lo), static_cast<double>(hi));
    float f = 0.0f;
    const char* first = v.text.data();
    const char* last = first + v.text.size();
    const auto [end, error] = std::from_chars(first, last, f);
    if (error != std::errc() || end != last)
        f = static_cast<float>(d);
    return f;
}

bool Boolean(const Value& v, const std::string& place) {
    ExpectKind(v, Kind::Boolean, place);
    return v.boolean;
}

std::string Text(const Value& v, const std::string& place) {
    ExpectKind(v, Kind::String, place);
    return v.text;
}

float OptionalSingle(const Value& object, std::string_view key, const std::string& place, float lo,
                     float hi, float fallback) {
    const Value* v = object.Find(key);
    return v != nullptr ? Single(*v, Join(place, key), lo, hi) : fallback;
}

void ReadTarget(const Value& v, const std::string& place, int channel, TOstinToItem& target) {
    CheckObject(v, place, {"channel", "note", "label", "probability", "velocityScale", "random"});
    const float note = Single(Require(v, "note", place), Join(place, "note"),
                              TOstinToItem::kNoteMin, TOstinToItem::kNoteMax);
    target.SetChannel(OptionalSingle(v, "channel", place, TOstinToItem::kChannelMin,
                                     TOstinToItem::kChannelMax, static_cast<float>(channel + 1)));
    target.SetNote(note);
    target.SetProbability(OptionalSingle(v, "probability", place, TOstinToItem::kProbabilityMin,
                                         TOstinToItem::kProbabilityMax, 100.0f));
    target.SetVelocityScale(OptionalSingle(v, "velocityScale", place,
                                           TOstinToItem::kVelocityScaleMin,
                                           TOstinToItem::kVelocityScaleMax, 0.0f));
    target.SetRandom(OptionalSingle(v, "random", place, TOstinToItem::kRandomMin,
                                    TOstinToItem::kRandomMax, 0.0f));
    if (const Value* label = v.Find("label"))
        (void)Text(*label, Join(place, "label"));
}

void ReadRow(const Value& v, const std::string& place, int channel, TOstinelChannel& entry,
             std::array<std::string, kMapNotes>& seen) {
    CheckObject(v, place, {"note", "label", "sourceNote", "targets"});
    const Value& noteValue = Require(v, "note", place);
    const int note = Integer(noteValue, Join(place, "note"), 0, kMapNotes - 1);
    if (!seen[static_cast<std::size_t>(note)].empty())
        Fail(Join(place, "note"),
             "note " + std::to_string(note) + " is already given in " +
                 seen[static_cast<std::size_t>(note)],
             noteValue.where);
    seen[static_cast<std::size_t>(note)] = place;
    TChannelOstinItem& row = entry.Notes[note];
    row.SetSourceNote(note);
    if (const Value* source = v.Find("sourceNote"))
        row.SetSourceNote(Integer(*source, Join(place, "sourceNote"), INT32_MIN, INT32_MAX));
    if (const Value* label = v.Find("label"))
        (void)Text(*label, Join(place, "label"));

    const std::string targetsPlace = Join(place, "targets");
    const Value& targets = Require(v, "targets", place);
    ExpectKind(targets, Kind::Array, targetsPlace);
    if (targets.items.empty() || targets.items.size() > static_cast<std::size_t>(kMapTargets))
        Fail(targetsPlace,
             "expected 1 to " + std::to_string(kMapTargets) + " targets, found " +
                 std::to_string(targets.items.size()),
             targets.where);
    for (int k = 0; k < kMapTargets; ++k) {
        TOstinToItem& target = row.Targets[k];
        target.ResetToCreation();
        target.SetChannel(static_cast<float>(channel + 1));
        if (static_cast<std::size_t>(k) < targets.items.size())
            ReadTarget(targets.items[static_cast<std::size_t>(k)],
                       Index(targetsPlace, static_cast<std::size_t>(k)), channel, target);
    }
}

void ReadChannel(const Value& v, const std::string& place, TOstinel& map,
                 std::array<std::string, kMapChannels>& seen) {
    CheckObject(v, place, {"channel", "active", "rangeFrom", "rangeTo", "rows"});
    const Value& numberValue = Require(v, "channel", place);
    const int c = Integer(numberValue, Join(place, "channel"), 1, kMapChannels) - 1;
    if (!seen[static_cast<std::size_t>(c)].empty())
        Fail(Join(place, "channel"),
             "channel " + std::to_string(c + 1) + " is already given in " +
                 seen[static_cast<std::size_t>(c)],
             numberValue.where);
    seen[static_cast<std::size_t>(c)] = place;
    TOstinelChannel& entry = map[c];
    entry.SetActive(Boolean(Require(v, "active", place), Join(place, "active")));
    entry.SetRangeFrom(OptionalSingle(v, "rangeFrom", place, 0, 127, 0.0f));
    entry.SetRangeTo(OptionalSingle(v, "rangeTo", place, 0, 127, 127.0f));
    if (const Value* rows = v.Find("rows")) {
        const std::string rowsPlace = Join(place, "rows");
        ExpectKind(*rows, Kind::Array, rowsPlace);
        std::array<std::string, kMapNotes> seenRows;
        for (std::size_t i = 0; i < rows->items.size(); ++i)
            ReadRow(rows->items[i], Index(rowsPlace, i), c, entry, seenRows);
    }
}

} // namespace

std::string PresetToJson(const PresetState& state) {
    const TOstinel& map = *state.map;
    std::string out = "{\n";
    if (state.container == Container::Bank)
        out += "  \"container\": \"bank\",\n";
    out += "  \"version\": " + json::Quote(state.version) + ",\n";
    out += "  \"name\": " + json::Quote(state.name) + ",\n";
    if (!state.headerTexts[0].empty() || !state.headerTexts[1].empty())
        out += "  \"headerTexts\": [" + json::Quote(state.headerTexts[0]) + ", " +
               json::Quote(state.headerTexts[1]) + "],\n";
    out += "  \"selectedChannel\": " + std::to_string(map.SelectedChannel() + 1) + ",\n";
    out += "  \"ccAssignments\": [";
    for (std::size_t i = 0; i < state.ccAssignments.size(); ++i) {
        const CcAssignment& cc = state.ccAssignments[i];
        out += (i == 0 ? "\n    " : ",\n    ");
        out += "{\"parameter\": " + json::Quote(cc.parameter) +
               ", \"cc\": " + std::to_string(cc.number) + "}";
    }
    out += state.ccAssignments.empty() ? "],\n" : "\n  ],\n";
    out += "  \"channels\": [";
    for (int c = 0; c < TOstinel::Count(); ++c) {
        const TOstinelChannel& channel = map[c];
        out += c == 0 ? "\n" : ",\n";
        out += "    {\"channel\": " + std::to_string(c + 1) +
               ", \"active\": " + (channel.Active() ? "true" : "false") +
               ", \"rangeFrom\": " + Number(channel.RangeFrom()) +
               ", \"rangeTo\": " + Number(channel.RangeTo()) + ", \"rows\": [";
        WriteRows(out, map, c);
        out += "}";
    }
    out += "\n  ]\n}\n";
    return out;
}

PresetState PresetFromJson(std::string_view text) {
    return PresetFromJson(json::Parse(text));
}

PresetState PresetFromJson(const Value& root) {
    CheckObject(root, "",
                {"container", "version", "name", "headerTexts", "selectedChannel", "ccAssignments",
                 "channels"});
    PresetState state;
    if (const Value* v = root.Find("container")) {
        const std::string container = Text(*v, "container");
        if (container == "bank")
            state.container = Container::Bank;
        else if (container != "preset")
            Fail("container", json::Quote(container) + " is neither \"preset\" nor \"bank\"",
                 v->where);
    }
    if (const Value* v = root.Find("version"))
        state.version = Text(*v, "version");
    if (const Value* v = root.Find("name"))
        state.name = Text(*v, "name");
    if (const Value* v = root.Find("headerTexts")) {
        ExpectKind(*v, Kind::Array, "headerTexts");
        if (v->items.size() != state.headerTexts.size())
            Fail("headerTexts", "expected 2 texts, found " + std::to_string(v->items.size()),
                 v->where);
        for (std::size_t i = 0; i < state.headerTexts.size(); ++i)
            state.headerTexts[i] = Text(v->items[i], Index("headerTexts", i));
    }
    if (const Value* v = root.Find("selectedChannel"))
        state.map->SetSelectedChannel(Integer(*v, "selectedChannel", 1, kMapChannels) - 1);
    if (const Value* v = root.Find("ccAssignments")) {
        ExpectKind(*v, Kind::Array, "ccAssignments");
        for (std::size_t i = 0; i < v->items.size(); ++i) {
            const std::string place = Index("ccAssignments", i);
            const Value& item = v->items[i];
            CheckObject(item, place, {"parameter", "cc"});
            CcAssignment cc;
            cc.parameter = Text(Require(item, "parameter", place), Join(place, "parameter"));
            cc.number = Integer(Require(item, "cc", place), Join(place, "cc"), 0, 127);
            for (std::size_t j = 0; j < state.ccAssignments.size(); ++j)
                if (state.ccAssignments[j].parameter == cc.parameter)
                    Fail(Join(place, "parameter"),
                         json::Quote(cc.parameter) + " is already assigned in " +
                             Index("ccAssignments", j),
                         item.where);
            state.ccAssignments.push_back(std::move(cc));
        }
    }
    const Value& channels = Require(root, "channels", "");
    ExpectKind(channels, Kind::Array, "channels");
    std::array<std::string, kMapChannels> seen;
    for (std::size_t i = 0; i < channels.items.size(); ++i)
        ReadChannel(channels.items[i], Index("channels", i), *state.map, seen);
    return state;
}

} // namespace ostinel::cli
