// The content entry points that have a wide twin, each one function for both: the field's value,
// its change and the default view. The plain answers of the plugin layer (content_fields.h)
// become the interface's codes here, and their UTF-8 texts the host's characters: ANSI for the
// narrow exports, byte for byte as they always were; UTF-16 (ft_stringw) for the wide ones, so
// that Russian shows whatever the system's ANSI code page.
#pragma once
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <type_traits>

#include "interface/entry.h"
#include "interface/fsplugin.h"
#include "interface/host_chars.h"
#include "interface/text_buffer.h"
#include "plugin/content_fields.h"

namespace qzr {

template <typename Ch>
inline constexpr bool kWide = std::is_same_v<Ch, char16_t>;

// `maxlen` is the buffer's size in bytes, for the wide call too (the host's documentation and
// Double Commander agree): a wide text gets maxlen / 2 characters. A choice (State) goes to a
// wide call as ft_stringw as well: both hosts take a multiple-choice value as ANSI text only.
template <typename Ch>
int GetValueCall(const Ch* fileName, int index, void* value, int maxlen) {
  return Entry(host::kFtFileError, [&] {
    if (!fileName) return host::kFtFileError;
    const std::optional<std::string> name = HostChars<Ch>::AnsiIn(fileName);
    if (!name) return FieldAt(index) ? host::kFtFileError : host::kFtNoSuchField;
    const FieldAnswer answer = GetFieldValue(*name, index);
    switch (answer.Kind) {
      case AnswerKind::kNoSuchField: return host::kFtNoSuchField;
      case AnswerKind::kNotATweak: return host::kFtFieldEmpty;
      case AnswerKind::kFileError: return host::kFtFileError;
      default: break;
    }
    if (!value || maxlen <= 0) return host::kFtFileError;
    switch (answer.Kind) {
      case AnswerKind::kBoolean: {
        if (maxlen < static_cast<int>(sizeof(int32_t))) return host::kFtFileError;
        const int32_t number = answer.Flag ? 1 : 0;
        std::memcpy(value, &number, sizeof number);
        return host::kFtBoolean;
      }
      case AnswerKind::kText:
      case AnswerKind::kChoiceText: {
        const int room = maxlen / static_cast<int>(sizeof(Ch));
        if (room <= 0) return host::kFtFileError;
        FillText(static_cast<Ch*>(value), room, HostChars<Ch>::TextOut(answer.Text));
        if constexpr (kWide<Ch>) return host::kFtStringW;
        return answer.Kind == AnswerKind::kChoiceText ? host::kFtMultipleChoice : host::kFtString;
      }
      default: return host::kFtFieldEmpty;
    }
  });
}

// A null name ends the host's change of attributes. The value is an int32 for ft_boolean and
// otherwise text: ANSI, or UTF-16 when a wide call says ft_stringw.
template <typename Ch>
int SetValueCall(const Ch* fileName, int index, int fieldType, const void* value) {
  return Entry(host::kFtFileError, [&] {
    if (!fileName) {
      EndFieldChange();
      return host::kFtSetSuccess;
    }
    FieldInput input;
    if (value && fieldType == host::kFtBoolean)
      input.Flag = *static_cast<const int32_t*>(value) != 0;
    else if (value && kWide<Ch> && fieldType == host::kFtStringW)
      input.AnsiText = HostChars<char16_t>::AnsiIn(static_cast<const char16_t*>(value));
    else if (value)
      input.AnsiText = std::string(static_cast<const char*>(value));
    switch (SetFieldValue(HostChars<Ch>::AnsiIn(fileName).value_or(std::string()), index, input)) {
      case SetOutcome::kDone: return host::kFtSetSuccess;
      case SetOutcome::kNoSuchField: return host::kFtNoSuchField;
      case SetOutcome::kRefused: return host::kFtFileError;
    }
    return host::kFtFileError;
  });
}

// `maxlen` counts characters here, narrow or wide.
template <typename Ch>
int DefaultViewCall(Ch* contents, Ch* headers, Ch* widths, Ch* options, int maxlen) {
  return Entry(0, [&] {
    const DefaultView view = GetDefaultView();
    FillText(contents, maxlen, HostChars<Ch>::TextOut(view.Contents));
    FillText(headers, maxlen, HostChars<Ch>::TextOut(view.Headers));
    FillText(widths, maxlen, HostChars<Ch>::TextOut(view.Widths));
    FillText(options, maxlen, HostChars<Ch>::TextOut(view.Options));
    return 1;
  });
}

}  // namespace qzr
