#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "editors/RadioRules.h"
#include "model/ShiftJis.h"

namespace tavrin::radio {
namespace {

std::string Sjis(const char* utf8) { return ToShiftJis(utf8).value(); }

ScheduleModel ModelWith(int frequency, const std::string& sjisName) {
  ScheduleModel model{};
  ClearModel(model);
  model.radioFrequency = static_cast<uint16_t>(frequency);
  std::memcpy(model.radioStation.data(), sjisName.data(),
              std::min(sjisName.size(), model.radioStation.size()));
  return model;
}

// 901..903 are television channels only beside a television channel's name.
TEST(RadioRules, AFrequencyReadsAsAChannelNumberOnlyBesideATelevisionName) {
  struct Case {
    int frequency;
    const char* name;
    const char* text;
  };
  const Case cases[] = {
      {0, "東京", ""},         {825, "東京", "82.5"},  {820, "東京", "82.0"},
      {900, "東京", "90.0"},   {901, "東京", "90.1"},  {903, "ＮＨＫ", "90.3"},
      {1234, "東京", "123.4"}, {901, "１ｃｈ", "901"}, {903, "３ｃｈ", "903"},
      {825, "１ｃｈ", "825"},  {0, "２ｃｈ", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FrequencyText(c.frequency, Sjis(c.name)), c.text) << c.frequency << " " << c.name;
    EXPECT_EQ(FrequencyText(ModelWith(c.frequency, Sjis(c.name))), c.text);
  }
}

TEST(RadioRules, ReadFrequencyAcceptsDigitsWithOnePointAndRefusesWhatWouldPackAsNone) {
  const std::string missing = "＜周波数＞の指定が有りません。";
  const std::string invalid = "＜周波数＞の設定値が不正です。";
  struct Case {
    const char* text;
    bool television;
    int value;  // 0: refused with `message`
    std::string message;
  };
  const Case cases[] = {
      {"82.5", false, 825, ""},
      {"82", false, 820, ""},
      {"82.56", false, 825, ""},
      {"123.4", false, 1234, ""},  // no range applies
      {".5", false, 5, ""},
      {"6553.5", false, 65535, ""},
      {"901", true, 901, ""},
      {"901.7", true, 901, ""},  // a channel reads its leading digits
      {"", false, 0, missing},
      {"８２.５", false, 0, invalid},  // full-width digits
      {"82..5", false, 0, invalid},
      {"8.2.5", false, 0, invalid},
      {" 82.5", false, 0, invalid},
      {"82,5", false, 0, invalid},
      // These once reached the image as 0, which packing silently turned into 東京.
      {"0", false, 0, invalid},
      {".", false, 0, invalid},
      {"0.0", false, 0, invalid},
      {"6553.6", false, 0, invalid},  // 65536 wraps to 0 in 16 bits
      {"9999999999", false, 0, invalid},
      {"99999999999999999999.9", false, 0, invalid},
      {"65536", true, 0, invalid},
      {"0", true, 0, invalid},
  };
  for (const Case& c : cases) {
    Result<int> read = ReadFrequency(c.text, c.television);
    if (c.value != 0) {
      ASSERT_TRUE(read.ok()) << c.text << ": " << read.message();
      EXPECT_EQ(*read, c.value) << c.text;
    } else {
      ASSERT_FALSE(read.ok()) << c.text;
      EXPECT_EQ(read.message(), c.message) << c.text;
    }
  }
}

TEST(RadioRules, OpeningShowsTheModelsOwnStationAndLeavesTheRememberedOneAlone) {
  struct Case {
    const char* what;
    int modelFrequency;
    const char* modelName;
    int rememberedFrequency;
    const char* rememberedName;
    const char* shownName;
    const char* shownFrequency;
    bool labels;
    int key;
    int rememberedAfter;
  };
  const Case cases[] = {
      {"the model's station wins over the remembered one", 835, "水戸", 825, "東京", "水戸", "83.5",
       true, 90, 825},
      {"a corrected frequency is shown as stored", 826, "東京", 825, "東京", "東京", "82.6", true,
       140, 825},
      {"a television channel is a valid station", 901, "１ｃｈ", 825, "東京", "１ｃｈ", "901",
       false, -1, 825},
      {"a name in neither table selects nothing", 825, "ＮＨＫ東京", 825, "東京", "ＮＨＫ東京",
       "82.5", true, -1, 825},
      {"a new document shows the remembered station", 0, "", 853, "福島", "福島", "85.3", true, 80,
       853},
      {"the model's own frequency is shown whatever its range", 950, "謎", 853, "福島", "謎",
       "95.0", true, -1, 853},
      {"beside a station's name 901 is 90.1 MHz", 901, "東京", 825, "東京", "東京", "90.1", true,
       140, 825},
      {"a remembered 950 falls back to 東京", 0, "", 950, "福島", "東京", "82.5", true, 140, 825},
      {"a remembered 700 falls back to 東京", 0, "", 700, "福島", "東京", "82.5", true, 140, 825},
      {"a remembered channel is valid", 0, "", 902, "２ｃｈ", "２ｃｈ", "902", false, -1, 902},
  };
  for (const Case& c : cases) {
    ScheduleModel model = ModelWith(c.modelFrequency, Sjis(c.modelName));
    const ScheduleModel before = model;
    RadioStation remembered{c.rememberedFrequency, Sjis(c.rememberedName)};
    StationView view = OpenStation(model, remembered);
    EXPECT_EQ(FromShiftJis(view.name), c.shownName) << c.what;
    EXPECT_EQ(view.frequency, c.shownFrequency) << c.what;
    EXPECT_EQ(view.frequencyLabels, c.labels) << c.what;
    EXPECT_EQ(view.selectedKey, c.key) << c.what;
    EXPECT_EQ(remembered.frequency, c.rememberedAfter) << c.what;
    EXPECT_TRUE(model == before) << c.what << ": opening writes nothing into the model";
  }
}

TEST(RadioRules, StationNamesAreCutToFourteenBytesOnACharacterBoundary) {
  const std::string thirteen = "ABCDEFGHIJKLM";
  struct Case {
    std::string name;
    std::string cut;
  };
  const Case cases[] = {
      {Sjis("ＡＢＣＤＥＦＧ"), Sjis("ＡＢＣＤＥＦＧ")},    // exactly 14 bytes
      {Sjis("ＡＢＣＤＥＦＧＨ"), Sjis("ＡＢＣＤＥＦＧ")},  // 16 bytes
      {thirteen + Sjis("東"), thirteen},                   // 東 would be split at byte 14
      {thirteen + "NO", thirteen + "N"},
  };
  for (const Case& c : cases) {
    RadioStation remembered{825, c.name};
    EXPECT_EQ(OpenStation(ModelWith(0, ""), remembered).name, c.cut);
    ScheduleModel model = ModelWith(825, "");
    ASSERT_TRUE(StoreStation(c.name, "82.5", model, remembered).ok());
    EXPECT_EQ(FieldText(model.radioStation.data(), model.radioStation.size()), c.cut);
    EXPECT_EQ(remembered.name, c.cut);
  }
  // A model name whose last byte begins a character is shown without it.
  ScheduleModel split = ModelWith(825, thirteen + Sjis("東"));
  RadioStation remembered;
  EXPECT_EQ(OpenStation(split, remembered).name, thirteen);
}

TEST(RadioRules, PickingAStationKeepsTheOpenedStationsFrequency) {
  ScheduleModel model = ModelWith(826, Sjis("東京"));
  RadioStation remembered{853, Sjis("福島")};
  const StationView opened = OpenStation(model, remembered);
  const StationRecord& tokyo = *FindStation(Sjis("東京"));
  const StationRecord& fukushima = *FindStation(Sjis("福島"));

  StationView again = SelectStation(tokyo, opened);
  EXPECT_EQ(again.frequency, "82.6");
  EXPECT_EQ(again.selectedKey, 140);
  // The remembered station does not count: only the one the page opened with.
  StationView other = SelectStation(fukushima, opened);
  EXPECT_EQ(FromShiftJis(other.name), "福島");
  EXPECT_EQ(other.frequency, "85.3");
  EXPECT_TRUE(other.frequencyLabels);
}

TEST(RadioRules, OkOnAnUnchangedTelevisionChannelKeepsTheDocumentAsItWas) {
  // Opening once wrote the remembered 東京 82.5 over a document's "１ｃｈ" 901.
  ScheduleModel model = ModelWith(901, Sjis("１ｃｈ"));
  model.radioStation[12] = 'x';  // bytes after the name's end stay untouched as well
  const ScheduleModel before = model;
  RadioStation remembered{825, Sjis("東京")};
  const StationView view = OpenStation(model, remembered);
  ASSERT_TRUE(StoreStation(view.name, view.frequency, model, remembered).ok());
  EXPECT_TRUE(model == before);
  EXPECT_EQ(remembered.frequency, 901);
  EXPECT_EQ(FromShiftJis(remembered.name), "１ｃｈ");
}

// Opening the page and pressing OK stores what it shows; for every stored station that is what
// was stored, so the document stays unmodified.
TEST(RadioRules, OpenThenOkLeavesEveryStoredStationAsItWas) {
  struct Stored {
    const char* name;
    int first;
    int last;
  };
  const Stored stored[] = {
      {"東京", 760, 950},        // a broadcast station's name: 901..903 are 90.1..90.3 MHz
      {"ＮＨＫ東京", 760, 950},  // a name in neither table
      {"１ｃｈ", 901, 903},      // television channels
      {"２ｃｈ", 901, 903},     {"３ｃｈ", 901, 903},
      {"１ｃｈ", 825, 825},  // a channel's name beside a broadcast frequency
  };
  int opened = 0;
  for (const Stored& s : stored) {
    for (int frequency = s.first; frequency <= s.last; ++frequency) {
      ScheduleModel model = ModelWith(frequency, Sjis(s.name));
      const ScheduleModel before = model;
      RadioStation remembered{853, Sjis("福島")};
      const StationView view = OpenStation(model, remembered);
      ASSERT_TRUE(StoreStation(view.name, view.frequency, model, remembered).ok())
          << s.name << " " << frequency;
      EXPECT_TRUE(model == before) << s.name << " " << frequency << " shown as " << view.frequency;
      EXPECT_EQ(remembered.frequency, frequency);
      ++opened;
    }
  }
  EXPECT_EQ(opened, 2 * 191 + 3 * 3 + 1);
}

// A frequency typed in MHz comes back as typed, whatever range it lies in.
TEST(RadioRules, ATypedFrequencyReopensAsTyped) {
  const std::pair<const char*, const char*> cases[] = {
      {"東京", "90.2"}, {"東京", "82.6"}, {"ＮＨＫ", "90.1"}, {"東京", "123.4"}, {"２ｃｈ", "902"}};
  for (const auto& [name, typed] : cases) {
    ScheduleModel model = ModelWith(825, Sjis("東京"));
    RadioStation remembered;
    ASSERT_TRUE(StoreStation(Sjis(name), typed, model, remembered).ok()) << typed;
    EXPECT_EQ(OpenStation(model, remembered).frequency, typed) << name;
  }
}

TEST(RadioRules, OkStoresANewStationAndARefusedOneChangesNothing) {
  ScheduleModel model = ModelWith(825, Sjis("東京"));
  RadioStation remembered;
  ASSERT_TRUE(StoreStation(Sjis("水戸"), "83.2", model, remembered).ok());
  EXPECT_EQ(model.radioFrequency, 832);
  EXPECT_EQ(FieldText(model.radioStation.data(), model.radioStation.size()), Sjis("水戸"));
  EXPECT_EQ(model.radioStation[4], 0) << "the rest of the field is zeroed";
  EXPECT_EQ(remembered.frequency, 832);

  const ScheduleModel before = model;
  Result<void> refused = StoreStation(Sjis("福島"), "6553.6", model, remembered);
  EXPECT_EQ(refused.message(), "＜周波数＞の設定値が不正です。");
  EXPECT_TRUE(model == before);
  EXPECT_EQ(remembered.frequency, 832);
}

}  // namespace
}  // namespace tavrin::radio
