#pragma once
// The serial port's one exception class and the fixed texts it carries.

#include "common/errors.h"

namespace zorvan {

// Every serial port failure: the operator sees the text as it stands.
class EComPort : public Exception {
 public:
  using Exception::Exception;
};

// "СОМ" in these texts is spelt with the Cyrillic letters С, О, М, as the operators have
// always seen it.
namespace com_text {
inline constexpr char kNoSuchPort[] = "Спроба відкрити неіснуючий СОМ-порт";
inline constexpr char kPortInUse[] = "Порт зайнятий іншою програмою";
inline constexpr char kWriteFailed[] =
    "Помилка запису в порт.\nНеобхідно повторно відкрити програму!";
inline constexpr char kReadFailed[] =
    "Помилка читання з порта\nНеобхідно повторно відкрити програму!";
inline constexpr char kPurgeCommFailed[] =
    "Помилка функції PurgeComm\nНеобхідно повторно відкрити програму!";
inline constexpr char kSetCommStateFailed[] =
    "Помилка функції SetCommState\nНеобхідно повторно відкрити програму!";
inline constexpr char kSetCommTimeoutsFailed[] =
    "Помилка функції SetCommTimeouts\nНеобхідно повторно відкрити програму!";
inline constexpr char kSetupCommFailed[] =
    "Помилка функції SetupComm\nНеобхідно повторно відкрити програму!";
inline constexpr char kClearCommErrorFailed[] =
    "Помилка функції ClearCommError\nНеобхідно повторно відкрити програму!";
inline constexpr char kGetCommModemStatusFailed[] =
    "Помилка функції GetCommModemStatus\nНеобхідно повторно відкрити програму!";
inline constexpr char kEscapeCommFunctionFailed[] =
    "Помилка функції EscapeCommFunction\nНеобхідно повторно відкрити програму!";
inline constexpr char kChangeWhileOpen[] = "Неможна змінювати властивості, доки порт відкритий";
inline constexpr char kNoPortTable[] = "Відсутні СОМ-порти!\nНеобхідно повторно відкрити програму!";
}  // namespace com_text

}  // namespace zorvan
