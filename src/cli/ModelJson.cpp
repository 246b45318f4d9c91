#include "cli/ModelJson.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <optional>
#include <vector>

#include "document/SettingsFiles.h"
#include "model/ShiftJis.h"
#include "model/Translation.h"

namespace tavrin {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

// Field bytes as JSON text: trailing padding NULs go, everything else is kept.
std::string FieldToUtf8(const char* field, std::size_t size) {
  while (size > 0 && field[size - 1] == '\0') --size;
  return FromShiftJis(std::string_view(field, size));
}

template <std::size_t N>
bool AllZero(const std::array<uint8_t, N>& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

template <typename Record>
bool IsEmptyRecord(const Record& record) {
  std::array<uint8_t, sizeof(Record)> bytes;
  std::memcpy(bytes.data(), &record, sizeof record);
  return AllZero(bytes);
}

ordered_json StepToJson(int slot, const WeeklyStep& step) {
  ordered_json days = ordered_json::array();
  for (uint8_t day : step.days) days.push_back(day);
  return {{"slot", slot},      {"program", step.program}, {"channel", step.channel}, {"days", days},
          {"hour", step.hour}, {"minute", step.minute},   {"action", step.action}};
}

ordered_json PeriodToJson(int slot, const PeriodEntry& period) {
  return {{"slot", slot},
          {"year", period.year},
          {"startMonth", period.startMonth},
          {"startDay", period.startDay},
          {"endMonth", period.endMonth},
          {"endDay", period.endDay},
          {"program", period.program}};
}

ordered_json DateToJson(int slot, const DateEntry& date) {
  return {{"slot", slot},
          {"year", date.year},
          {"month", date.month},
          {"day", date.day},
          {"program", date.program}};
}

// A text from the input may be anything, megabytes long: only its start is quoted.
std::string Shortened(const std::string& text) {
  constexpr std::size_t kShown = 40;
  std::string shown = CutUtf8(text, kShown);
  return shown.size() < text.size() ? shown + "..." : shown;
}

// The library's message with the token it quotes ('...') cut short.
std::string ShortenedQuote(const std::string& message) {
  const std::size_t open = message.find('\'');
  const std::size_t close = message.rfind('\'');
  if (open == std::string::npos || close <= open) return message;
  return message.substr(0, open + 1) + Shortened(message.substr(open + 1, close - open - 1)) +
         message.substr(close);
}

// Reads one JSON document into the model, stopping at the first fault with its key; or, given a
// list, listing every value the model cannot hold and stopping only where the input is no model.
class ModelReader {
 public:
  ModelReader(ScheduleModel& model, ProgramNameTable& names, std::vector<std::string>* refused)
      : model_(model), names_(names), refused_(refused) {}

  Result<> Read(const json& root) {
    ClearModel(model_);
    std::memset(&names_, 0, sizeof names_);
    if (!root.is_object()) return tavrin::Fail(Tr("the model must be a JSON object"));
    if (!Known(
            root, "",
            {"idText", "modelTag", "holidayProgram", "holidayEnabled", "summerTimeEnabled",
             "basicProgram", "leapStartProgram", "leapEndProgram", "channels", "stepCount", "steps",
             "periods", "dates", "summerTime", "radioFrequency", "radioStation", "names"}) ||
        !Text(root, "", "idText", model_.idText.data(), model_.idText.size()) ||
        !Text(root, "", "modelTag", model_.modelTag.data(), model_.modelTag.size()) ||
        !Number(root, "", "holidayProgram", model_.holidayProgram) ||
        !Number(root, "", "holidayEnabled", model_.holidayEnabled) ||
        !Number(root, "", "summerTimeEnabled", model_.summerTimeEnabled) ||
        !Number(root, "", "basicProgram", model_.basicProgram) ||
        !Number(root, "", "leapStartProgram", model_.leapStartProgram) ||
        !Number(root, "", "leapEndProgram", model_.leapEndProgram) || !Channels(root) ||
        !Number(root, "", "stepCount", model_.stepCount) || !Steps(root) || !Periods(root) ||
        !Dates(root) || !SummerTime(root) ||
        !Number(root, "", "radioFrequency", model_.radioFrequency) ||
        !Text(root, "", "radioStation", model_.radioStation.data(), model_.radioStation.size()) ||
        !Names(root)) {
      return tavrin::Fail(error_);
    }
    return {};
  }

 private:
  // The input is no model: reading ends.
  bool Fail(const std::string& where, const std::string& what) {
    error_ = where + ": " + what;
    return false;
  }

  // A value the model cannot hold: reading ends, or, while listing them, the value is listed and
  // left out, and reading goes on.
  bool Refuse(const std::string& where, const std::string& what) {
    if (refused_ == nullptr) return Fail(where, what);
    refused_->push_back(where + ": " + what);
    return true;
  }

  static std::string Key(const std::string& prefix, const std::string& key) {
    return prefix.empty() ? key : prefix + "." + key;
  }

  bool Known(const json& object, const std::string& prefix,
             std::initializer_list<const char*> keys) {
    for (const auto& item : object.items()) {
      if (std::find_if(keys.begin(), keys.end(), [&](const char* k) { return item.key() == k; }) ==
              keys.end() &&
          !Refuse(Key(prefix, Shortened(item.key())), Tr("unknown key"))) {
        return false;
      }
    }
    return true;
  }

  // Why `value` is not an integer in low..high; nothing when it is one, which goes to `out`.
  static std::optional<std::string> Integer(const json& value, long long low, long long high,
                                            long long& out) {
    const std::string outside =
        TrFormat("%s is outside %s..%s", {value.dump(), std::to_string(low), std::to_string(high)});
    if (value.is_number_unsigned()) {
      auto v = value.get<unsigned long long>();
      if (v > static_cast<unsigned long long>(high)) return outside;
      out = static_cast<long long>(v);
      return std::nullopt;
    }
    if (!value.is_number_integer()) return Tr("expected an integer");
    out = value.get<long long>();
    if (out < low || out > high) return outside;
    return std::nullopt;
  }

  // A number in the range of the field it goes to.
  template <typename T>
  bool Held(const json& value, const std::string& where, T& field) {
    long long number = 0;
    if (std::optional<std::string> why =
            Integer(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), number)) {
      return Refuse(where, *why);
    }
    field = static_cast<T>(number);
    return true;
  }

  template <typename T>
  bool Number(const json& object, const std::string& prefix, const char* key, T& field) {
    auto it = object.find(key);
    return it == object.end() || Held(*it, Key(prefix, key), field);
  }

  bool TextValue(const json& value, const std::string& where, char* field, std::size_t size) {
    if (!value.is_string()) return Refuse(where, Tr("expected a text"));
    std::optional<std::string> bytes = ToShiftJis(value.get<std::string>());
    if (!bytes) return Refuse(where, Tr("the text has no Shift-JIS form"));
    if (bytes->size() > size) {
      return Refuse(where, TrFormat("the text takes %s Shift-JIS bytes, more than %s",
                                    {std::to_string(bytes->size()), std::to_string(size)}));
    }
    std::memset(field, 0, size);
    std::memcpy(field, bytes->data(), bytes->size());
    return true;
  }

  bool Text(const json& object, const std::string& prefix, const char* key, char* field,
            std::size_t size) {
    auto it = object.find(key);
    return it == object.end() || TextValue(*it, Key(prefix, key), field, size);
  }

  bool Object(const json& value, const std::string& where) {
    return value.is_object() || Fail(where, Tr("expected an object"));
  }

  // Walks a table of records given with their slots; `read` fills one record.
  template <typename Read>
  bool Table(const json& root, const char* key, int slots, Read read) {
    auto it = root.find(key);
    if (it == root.end()) return true;
    if (!it->is_array()) return Fail(key, Tr("expected an array"));
    std::vector<bool> seen(static_cast<std::size_t>(slots));
    for (std::size_t i = 0; i < it->size(); ++i) {
      const json& entry = (*it)[i];
      std::string where = std::string(key) + "[" + std::to_string(i) + "]";
      if (!Object(entry, where)) return false;
      auto slotIt = entry.find("slot");
      if (slotIt == entry.end()) return Fail(where + ".slot", Tr("missing"));
      long long slot = 0;
      if (std::optional<std::string> why = Integer(*slotIt, 0, slots - 1, slot)) {
        return Fail(where + ".slot", *why);
      }
      if (seen[static_cast<std::size_t>(slot)]) {
        return Fail(where + ".slot", TrFormat("%s is listed twice", {std::to_string(slot)}));
      }
      seen[static_cast<std::size_t>(slot)] = true;
      if (!read(entry, where, static_cast<std::size_t>(slot))) return false;
    }
    return true;
  }

  bool Channels(const json& root) {
    auto it = root.find("channels");
    if (it == root.end()) return true;
    if (!it->is_array()) return Fail("channels", Tr("expected an array"));
    if (it->size() > model_.channels.size()) {
      return Fail("channels", TrFormat("more than %s channels", {std::to_string(kChannelCount)}));
    }
    for (std::size_t i = 0; i < it->size(); ++i) {
      const json& entry = (*it)[i];
      std::string where = "channels[" + std::to_string(i) + "]";
      ChannelSetting& channel = model_.channels[i];
      if (!Object(entry, where) ||
          !Known(entry, where, {"kind", "signalMinutes", "signalSeconds", "riseTime"}) ||
          !Number(entry, where, "kind", channel.kind) ||
          !Number(entry, where, "signalMinutes", channel.signalMinutes) ||
          !Number(entry, where, "signalSeconds", channel.signalSeconds) ||
          !Number(entry, where, "riseTime", channel.riseTime)) {
        return false;
      }
    }
    return true;
  }

  bool Days(const json& entry, const std::string& where, WeeklyStep& step) {
    auto it = entry.find("days");
    if (it == entry.end()) return true;
    if (!it->is_array() || it->size() != step.days.size()) {
      return Refuse(where + ".days", Tr("expected an array of 7 numbers, Sunday first"));
    }
    for (std::size_t d = 0; d < step.days.size(); ++d) {
      if (!Held((*it)[d], where + ".days[" + std::to_string(d) + "]", step.days[d])) return false;
    }
    return true;
  }

  bool Steps(const json& root) {
    return Table(root, "steps", kStepCount,
                 [&](const json& entry, const std::string& where, std::size_t slot) {
                   WeeklyStep& step = model_.steps[slot];
                   return Known(
                              entry, where,
                              {"slot", "program", "channel", "days", "hour", "minute", "action"}) &&
                          Number(entry, where, "program", step.program) &&
                          Number(entry, where, "channel", step.channel) &&
                          Days(entry, where, step) && Number(entry, where, "hour", step.hour) &&
                          Number(entry, where, "minute", step.minute) &&
                          Number(entry, where, "action", step.action);
                 });
  }

  bool Periods(const json& root) {
    return Table(root, "periods", kPeriodCount,
                 [&](const json& entry, const std::string& where, std::size_t slot) {
                   PeriodEntry& period = model_.periods[slot];
                   return Known(entry, where,
                                {"slot", "year", "startMonth", "startDay", "endMonth", "endDay",
                                 "program"}) &&
                          Number(entry, where, "year", period.year) &&
                          Number(entry, where, "startMonth", period.startMonth) &&
                          Number(entry, where, "startDay", period.startDay) &&
                          Number(entry, where, "endMonth", period.endMonth) &&
                          Number(entry, where, "endDay", period.endDay) &&
                          Number(entry, where, "program", period.program);
                 });
  }

  bool Dates(const json& root) {
    return Table(root, "dates", kDateCount,
                 [&](const json& entry, const std::string& where, std::size_t slot) {
                   DateEntry& date = model_.dates[slot];
                   return Known(entry, where, {"slot", "year", "month", "day", "program"}) &&
                          Number(entry, where, "year", date.year) &&
                          Number(entry, where, "month", date.month) &&
                          Number(entry, where, "day", date.day) &&
                          Number(entry, where, "program", date.program);
                 });
  }

  bool SummerTime(const json& root) {
    auto it = root.find("summerTime");
    if (it == root.end()) return true;
    const std::string where = "summerTime";
    SummerTimeRule& rule = model_.summerTime;
    return Object(*it, where) &&
           Known(*it, where,
                 {"startMonth", "startWeek", "startWeekday", "startHour", "endMonth", "endWeek",
                  "endWeekday", "endHour"}) &&
           Number(*it, where, "startMonth", rule.startMonth) &&
           Number(*it, where, "startWeek", rule.startWeek) &&
           Number(*it, where, "startWeekday", rule.startWeekday) &&
           Number(*it, where, "startHour", rule.startHour) &&
           Number(*it, where, "endMonth", rule.endMonth) &&
           Number(*it, where, "endWeek", rule.endWeek) &&
           Number(*it, where, "endWeekday", rule.endWeekday) &&
           Number(*it, where, "endHour", rule.endHour);
  }

  bool Names(const json& root) {
    auto it = root.find("names");
    if (it == root.end()) return true;
    if (!Object(*it, "names")) return false;
    for (const auto& item : it->items()) {
      const std::string& key = item.key();
      std::string where = "names." + Shortened(key);
      // Plain decimal numbers only, so that every entry has exactly one spelling.
      bool decimal =
          !key.empty() && key.size() <= 2 &&
          std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
          (key.size() == 1 || key[0] != '0');
      if (!decimal) {
        if (!Refuse(where, Tr("the key must be a program number 0..99"))) return false;
        continue;
      }
      auto& entry = names_.names[static_cast<std::size_t>(std::stoi(key))];
      if (!TextValue(item.value(), where, entry.data(), entry.size())) return false;
    }
    return true;
  }

  ScheduleModel& model_;
  ProgramNameTable& names_;
  std::vector<std::string>* refused_;
  std::string error_;
};

}  // namespace

ordered_json ModelToJson(const ScheduleModel& model, const ProgramNameTable& names) {
  ordered_json out;
  out["idText"] = FieldToUtf8(model.idText.data(), model.idText.size());
  out["modelTag"] = FieldToUtf8(model.modelTag.data(), model.modelTag.size());
  out["holidayProgram"] = model.holidayProgram;
  out["holidayEnabled"] = model.holidayEnabled;
  out["summerTimeEnabled"] = model.summerTimeEnabled;
  out["basicProgram"] = model.basicProgram;
  out["leapStartProgram"] = model.leapStartProgram;
  out["leapEndProgram"] = model.leapEndProgram;
  ordered_json& channels = out["channels"] = ordered_json::array();
  for (const ChannelSetting& channel : model.channels) {
    channels.push_back({{"kind", channel.kind},
                        {"signalMinutes", channel.signalMinutes},
                        {"signalSeconds", channel.signalSeconds},
                        {"riseTime", channel.riseTime}});
  }
  out["stepCount"] = model.stepCount;
  ordered_json& steps = out["steps"] = ordered_json::array();
  for (int i = 0; i < kStepCount; ++i) {
    const WeeklyStep& step = model.steps[static_cast<std::size_t>(i)];
    if (!IsEmptyRecord(step)) steps.push_back(StepToJson(i, step));
  }
  ordered_json& periods = out["periods"] = ordered_json::array();
  for (int i = 0; i < kPeriodCount; ++i) {
    const PeriodEntry& period = model.periods[static_cast<std::size_t>(i)];
    if (!IsEmptyRecord(period)) periods.push_back(PeriodToJson(i, period));
  }
  ordered_json& dates = out["dates"] = ordered_json::array();
  for (int i = 0; i < kDateCount; ++i) {
    const DateEntry& date = model.dates[static_cast<std::size_t>(i)];
    if (!IsEmptyRecord(date)) dates.push_back(DateToJson(i, date));
  }
  const SummerTimeRule& rule = model.summerTime;
  out["summerTime"] = {{"startMonth", rule.startMonth},     {"startWeek", rule.startWeek},
                       {"startWeekday", rule.startWeekday}, {"startHour", rule.startHour},
                       {"endMonth", rule.endMonth},         {"endWeek", rule.endWeek},
                       {"endWeekday", rule.endWeekday},     {"endHour", rule.endHour}};
  out["radioFrequency"] = model.radioFrequency;
  out["radioStation"] = FieldToUtf8(model.radioStation.data(), model.radioStation.size());
  ordered_json& nameList = out["names"] = ordered_json::object();
  for (int i = 0; i < kProgramCount; ++i) {
    const auto& entry = names.names[static_cast<std::size_t>(i)];
    std::string text = FieldToUtf8(entry.data(), entry.size());
    if (!text.empty()) nameList[std::to_string(i)] = text;
  }
  return out;
}

std::string FormatModelJson(const ScheduleModel& model, const ProgramNameTable& names) {
  ordered_json json = ModelToJson(model, names);
  std::string text = "{\n";
  bool firstKey = true;
  for (const auto& item : json.items()) {
    if (!firstKey) text += ",\n";
    firstKey = false;
    text += "  " + ordered_json(item.key()).dump() + ": ";
    const ordered_json& value = item.value();
    bool listed = (value.is_array() || (item.key() == "names" && value.is_object()));
    if (!listed || value.empty()) {
      text += value.dump();
      continue;
    }
    text += value.is_array() ? "[\n" : "{\n";
    bool firstEntry = true;
    for (const auto& entry : value.items()) {
      if (!firstEntry) text += ",\n";
      firstEntry = false;
      text += "    ";
      if (value.is_object()) text += ordered_json(entry.key()).dump() + ": ";
      text += entry.value().dump();
    }
    text += value.is_array() ? "\n  ]" : "\n  }";
  }
  return text + "\n}\n";
}

Result<> ModelFromJson(const json& json, ScheduleModel& model, ProgramNameTable& names,
                       std::vector<std::string>* refused) {
  return ModelReader(model, names, refused).Read(json);
}

std::optional<std::string> ModelTagFault(const ScheduleModel& model) {
  if (HasModelTag(model)) return std::nullopt;
  const std::string tag = FieldText(model.modelTag.data(), model.modelTag.size());
  return TrFormat("modelTag: \"%s\" is not the timer's tag %s",
                  {FromShiftJis(tag), std::string(kModelTag)});
}

Result<> ParseModelJson(std::string_view text, ScheduleModel& model, ProgramNameTable& names,
                        std::vector<std::string>* refused) {
  json parsed;
  try {
    parsed = json::parse(text);
  } catch (const json::exception& error) {  // syntax, and numbers too big for a double
    // The library's own words say where and why, after its "[json.exception...]" tag.
    std::string what = error.what();
    std::size_t tagEnd = what.find("] ");
    return Fail(
        TrFormat("not valid JSON: %s",
                 {ShortenedQuote(tagEnd == std::string::npos ? what : what.substr(tagEnd + 2))}));
  }
  return ModelFromJson(parsed, model, names, refused);
}

}  // namespace tavrin
