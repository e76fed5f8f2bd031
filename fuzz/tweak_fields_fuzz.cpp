// Feeds: a tweak record of the input's making (every store, data type and root, values of every
// kind whatever the data type says, BIN sizes, names of any bytes) with a current reading of any
// state and value, in each language, to the panel columns' texts (apply/tweak_fields); and the
// input's rest as a State text typed into a change of attributes.
// Checks: a switch tweak's State is its language's yes or no and reads back through
// SwitchChoiceOf as the choice it shows, and Is default says whether that is the default's
// choice; a typed tweak that is at its default shows the Default text; the texts do not change
// when asked again; Store names the three stores and nothing else; Location begins with the
// root's short name (or the file) and ends with the value's name; a typed State text is taken as
// a choice only when it is a yes or a no.
#include "apply/tweak_fields.h"
#include "fuzz_support.h"
#include "texts/texts.h"
#include "platform/platform.h"

namespace {
using namespace qzr;
using fuzz::Check;

TweakValue Value(fuzz::ByteReader& in) {
  switch (in.Byte() % 4) {
    case 1: return in.Int32();
    case 2: return in.Text(24);
    case 3: {
      const std::string bytes = in.Text(24);
      return TRaw(bytes.begin(), bytes.end());
    }
    default: return std::monostate{};
  }
}

bool IsChoiceText(const std::string& text, int choice) {
  SystemApi& system = *Os().system;
  for (uint8_t language : {kEnglish, kRussian}) {
    // The fields' own texts as StateFields writes them, for either language.
    TTWREC probe;
    probe.DataType = kDataDword;
    probe.ValueOn = 1;
    probe.ValueOff = 0;
    const std::string shown = MakeStateFields(probe, CurrentValue{ReadState::kFound, choice == 0 ? 1 : 0}, language).State;
    if (system.UpperCase(shown) == system.UpperCase(text)) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ByteReader in(data, size);
  TTWREC t;
  const uint8_t kinds = in.Byte();
  t.PlugType = kinds % 4;
  t.DataType = kinds / 4 % 4;
  t.RootKey = kinds / 16 % 6;
  const uint8_t flags = in.Byte();
  t.ByHands = flags & 1;
  t.ValueOnDelVal = flags & 2;
  t.ValueOnDelKey = flags & 4;
  t.ValueOffDelVal = flags & 8;
  t.ValueOffDelKey = flags & 16;
  t.DefDelVal = flags & 32;
  t.DefDelKey = flags & 64;
  t.DataSize = in.Byte() % 40 - 4;
  t.Path = in.Text(30);
  t.VarName = in.Text(20);
  t.Section = in.Text(10);
  t.TweakName = in.Text(10);
  t.ValueOn = Value(in);
  t.ValueOff = Value(in);
  t.DefValue = Value(in);
  const CurrentValue current{static_cast<ReadState>(in.Byte() % 3), Value(in)};
  const std::string typed = in.Rest();

  for (uint8_t language : {kEnglish, kRussian}) {
    const StateFields fields = MakeStateFields(t, current, language);
    const StateFields again = MakeStateFields(t, current, language);
    const std::string defaultText = DefaultFieldText(t, language);
    Check(fields.State == again.State && fields.IsDefault == again.IsDefault && defaultText == DefaultFieldText(t, language),
          "the same texts when asked again");
    const std::optional<int> choice = SwitchChoiceOf(fields.State);
    if (!t.ByHands) {
      Check(choice.has_value(), "a switch tweak's State is a yes or a no");
      Check(fields.IsDefault == (*choice == (DefaultIsOn(t) ? 0 : 1)), "Is default is whether State is the default's choice");
    } else if (fields.IsDefault) {
      Check(fields.State == defaultText, "a typed tweak at its default shows the Default text");
    }
    const std::string location = LocationFieldText(t, language);
    if (t.PlugType == kPlugReg) {
      static const char* const kRoots[] = {"HKLM\\", "HKCU\\", "HKU\\", "HKCC\\", "HKCR\\", "HKCU\\"};
      Check(location.rfind(kRoots[t.RootKey], 0) == 0, "Location begins with the root's short name");
      Check(t.VarName.empty() || location.ends_with("\\" + t.VarName), "Location ends with the value's name");
    } else if (t.PlugType != 3) {
      Check(location.rfind(t.Path, 0) == 0 && location.ends_with(t.VarName), "Location names the file and the key");
    } else {
      Check(location.empty(), "no Location for an unknown store");
    }
  }
  Check(StoreFieldText(t).empty() == (t.PlugType > kPlugCfg), "Store names the three stores");
  if (std::optional<int> choice = SwitchChoiceOf(typed))
    Check(IsChoiceText(typed, *choice), "a typed State is a choice only when it is that yes or no");
  return 0;
}
