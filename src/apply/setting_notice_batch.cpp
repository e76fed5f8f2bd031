// Gathering and sending what changed settings need.
#include "apply/setting_notice_batch.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "apply/tweak_state.h"
#include "base/int_text.h"

namespace qzr {
namespace {

// The number a registry value holds now (a missing one reads as the definition's default).
std::optional<int32_t> NumberNow(const TTWREC& tweak) {
  const CurrentValue current = ReadRegistryValue(tweak);
  if (const auto* number = std::get_if<int32_t>(&current.Value)) return *number;
  if (const auto* text = std::get_if<std::string>(&current.Value)) return TextToInt(*text);
  return std::nullopt;
}

// A value beside the tweak's own in its key, as text with Windows' value when it is missing.
int32_t SiblingNumber(const TTWREC& tweak, const char* name, int32_t fallback) {
  TTWREC sibling = tweak;
  sibling.VarName = name;
  sibling.DataType = kDataString;
  sibling.DefValue = std::to_string(fallback);
  sibling.DefDelVal = sibling.DefDelKey = false;
  return NumberNow(sibling).value_or(fallback);
}

void SendParameter(UiApi& ui, uint32_t action, const SettingEffect& row, const TTWREC& tweak) {
  const std::optional<int32_t> number = NumberNow(tweak);
  if (!number) return;
  switch (row.Passing) {
    case ParameterPassing::kUiParam: ui.SetSystemParameter(action, static_cast<uint32_t>(*number), {}); break;
    case ParameterPassing::kMouseAcceleration:
      // SPI_SETMOUSE sets the two thresholds with the acceleration: they go as the key holds them
      // (Windows ships 6 and 10).
      ui.SetSystemParameter(action, 0,
                            {SiblingNumber(tweak, "MouseThreshold1", 6), SiblingNumber(tweak, "MouseThreshold2", 10),
                             *number});
      break;
    case ParameterPassing::kNoParameter: break;
  }
}

}  // namespace

void SettingNoticeBatch::Add(const TTWREC& tweak) {
  const SettingEffect& row = SettingEffectOf(tweak);
  if (row.Area != SettingArea::kNone) areas_.insert(row.Area);
  associations_ = associations_ || row.AssociationsChanged;
  if (row.ParameterAction != 0 && row.Passing != ParameterPassing::kNoParameter)
    parameters_.insert_or_assign(row.ParameterAction, tweak);
}

void SettingNoticeBatch::Send(UiApi& ui) {
  const auto parameters = std::exchange(parameters_, {});
  const auto areas = std::exchange(areas_, {});
  const bool associations = std::exchange(associations_, false);
  for (const auto& [action, tweak] : parameters) {
    try {
      SendParameter(ui, action, SettingEffectOf(tweak), tweak);
    } catch (const std::exception&) {
      // The setting is saved; a value that cannot be read back only misses the early notice.
    }
  }
  for (SettingArea area : areas) ui.BroadcastSettingChange(std::string(SettingAreaText(area)));
  if (associations) ui.NotifyAssociationsChanged();
}

}  // namespace qzr
