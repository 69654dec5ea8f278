#pragma once
// The windows' own texts: captions, hints, status texts and messages, exactly as the
// operator reads them, in UTF-8.

#include <array>

namespace zorvan::app {

// Titles.
inline constexpr char kProvisionalTitle[] = "QMX Bootloader";
inline constexpr char kProgramTitle[] = "Zorvan Bootloader (від 13.03.26)";
inline constexpr char kHelpTitle[] = "Про програму";

// Captions.
inline constexpr char kPortCaption[] = "Порт:";
inline constexpr char kWriteCaption[] = "Прошити";
inline constexpr char kDetectCaption[] = "Визначити";
inline constexpr char kOpenCaption[] = "Відкрити";
inline constexpr char kHelpOkCaption[] = "ОК";  // Cyrillic О and К
inline constexpr char kHelpKeysCaption[] = "Ctrl+Shift+A: автозапис\nCtrl+Shift+P: лінія";
inline constexpr char kStatusAtCreation[] = "Визначте прилад";
inline constexpr char kCalibrationAtCreation[] = "Автокалібровка: 0.0.0";
inline constexpr std::array<const char*, 15> kBaudRateItems = {
    "110", "300", "600", "1200", "2400", "4800", "9600", "14400",
    "19200", "38400", "56000", "57600", "115200", "128000", "256000"};
inline constexpr int kDefaultBaudRateIndex = 12;  // 115200

// Hints.
inline constexpr char kPanel1Hint[] = "Натисніть для запуску диспетчера пристроїв в системі";
inline constexpr char kLabel1Hint[] = "Запустити диспетчер пристроїв";
inline constexpr char kPortBoxHint[] = "Ctrl+R оновлення списку портів";
inline constexpr char kBaudRateHint[] = "Швидкість встановлюється відповідно до документації на прилад";
inline constexpr char kMakerSiteHint[] = "Сайт виробника";
inline constexpr char kAboutHint[] = "Інформація про програму";
inline constexpr char kOpenHint[] = "Повинна бути точна відповідність приладу і мікропрограми для нього";
inline constexpr char kMemoAboutHint[] = "Інформація про прилад";

// Status texts and messages.
inline constexpr char kImageReady[] = "Мікропрограма готова до запису";
inline constexpr char kPortsRefreshed[] = "Порти оновлено!";
inline constexpr char kOpenDialogFilter[] = "Файли: I8HEX, I16HEX, I32HEX|*.hex";
inline constexpr char kFileOpenedHead[] = "Мікропрограма : ";
inline constexpr char kFileOpenedTail[] = " - відкрита. Запишіть в прилад";
inline constexpr char kFileOpenedMessage[] = "Мікропрограма відкрита,\r\n   запишіть її в прилад";

// A port error that ended a detect or a write: the label names it after these, and the
// error's box tells the operator to check the line and try again instead of restarting,
// since the port has been released and the next press opens it afresh.
inline constexpr char kWriteUnfinished[] = "Запис не завершено. ";
inline constexpr char kDetectUnfinished[] = "Прилад не визначено. ";
inline constexpr char kRestartLine[] = "\nНеобхідно повторно відкрити програму!";
inline constexpr char kWriteAgainLine[] = "\nПеревірте з'єднання з приладом і натисніть «Прошити» ще раз!";
inline constexpr char kDetectAgainLine[] = "\nПеревірте з'єднання з приладом і натисніть «Визначити» ще раз!";
inline constexpr char kResetAgainLine[] = "\nПеревірте з'єднання з приладом і натисніть Ctrl+L ще раз!";

// Writing a device the version gate refused, in the engineering view.
inline constexpr char kWriteAnywayQuestion[] = "Записати мікропрограму в прилад все одно?";
inline constexpr char kDowngradeQuestion[] =
    "Новішу версію в приладі буде замінено старішою!\r\nВи впевнені, що хочете її замінити?";

// The automatic mode of the production line: where it stands, and the devices counted.
// The status label holds both on one line, within the window's width.
inline constexpr char kAutoWaiting[] = "Чекаю прилад";
inline constexpr char kAutoProgramming[] = "Йде запис";
inline constexpr char kAutoPassed[] = "Готово, замініть";
inline constexpr char kAutoFailed[] = "Збій, замініть";
inline constexpr char kAutoRefused[] = "Відмова, замініть";
inline constexpr char kAutoAlreadyProgrammed[] = "Вже прошитий, замініть";
inline constexpr char kAutoPortMissing[] = "Немає порту";
inline constexpr char kAutoPortError[] = "Помилка порту";
inline constexpr char kAutoLastRun[] = "Останній запис";  // ended while a device is written
inline constexpr char kAutoEnded[] = "Вимкнено";

// The production window: several ports of the line, one row each.
inline constexpr char kLineTitle[] = "Виробнича лінія";
inline constexpr char kLineFirmwareHead[] = "Мікропрограма: ";
inline constexpr char kLineCarriedFirmware[] = "вбудована";
inline constexpr char kLineStartPort[] = "Почати";
inline constexpr char kLineStopPort[] = "Зупинити";
inline constexpr char kLineStopRun[] = "Перервати";  // the port ends once its run is over; this stops the run
inline constexpr char kLineTotalsHead[] = "Разом: ";
inline constexpr char kRecordFileFilter[] = "JSON Lines|*.jsonl";
inline constexpr char kRecordFileSuggested[] = "zorvan-runs.jsonl";
inline constexpr char kRecordFileNotOpened[] = "Не вдається відкрити файл записів";
inline constexpr char kRecordFileNotWritten[] = "Не вдається дописати до файлу записів";
// A device programmed but not recorded is lost to the bench's records: its port stops.
inline constexpr char kLineNotRecorded[] = "Запис не збережено";
inline constexpr char kLinePortStopped[] = "Порт зупинено.";

// The port-list window.
inline constexpr char kPortListTitle[] = "Послідовні порти системи";
inline constexpr char kPortListPort[] = "Порт";
inline constexpr char kPortListDriver[] = "Драйвер";
inline constexpr char kPortListUsb[] = "USB (виробник:виріб)";
inline constexpr char kPortListSerialNumber[] = "Серійний номер";
inline constexpr char kPortListProduct[] = "Пристрій";
inline constexpr char kPortListRefresh[] = "Оновити";
inline constexpr char kPortListClose[] = "Закрити";
inline constexpr char kPortListEmpty[] = "Система не знає жодного послідовного порту.";

// The production window's own captions; its rows, tally and log are worded by its form.
inline constexpr char kLinePortsCaption[] = "Порти";
inline constexpr char kLineStartAllCaption[] = "Почати все";
inline constexpr char kLineStopAllCaption[] = "Зупинити все";
inline constexpr char kLineRecordFileCaption[] = "Файл записів…";
inline constexpr char kLineLogCaption[] = "Журнал";

}  // namespace zorvan::app
