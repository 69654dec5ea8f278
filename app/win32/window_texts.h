#pragma once
// The texts the windows' descriptions give their controls at creation, exactly as the
// operator reads them.

#include <array>

namespace zorvan::win32::text {

inline constexpr char kProgramTitle[] = "Zorvan Bootloader (від 13.03.26)";
inline constexpr char kHelpTitle[] = "Про програму";

inline constexpr char kPortCaption[] = "Порт:";
inline constexpr char kWriteCaption[] = "Прошити";
inline constexpr char kDetectCaption[] = "Визначити";
inline constexpr char kOpenCaption[] = "Відкрити";
inline constexpr char kHelpOkCaption[] = "ОК";  // Cyrillic О and К
inline constexpr char kStatusAtCreation[] = "Визначте прилад";
inline constexpr char kCalibrationAtCreation[] = "Автокалібровка: 0.0.0";
inline constexpr char kSkinNameAtCreation[] = "sComboBoxSkinName";
inline constexpr std::array<const char*, 15> kBaudRateItems = {
    "110", "300", "600", "1200", "2400", "4800", "9600", "14400",
    "19200", "38400", "56000", "57600", "115200", "128000", "256000"};
inline constexpr int kDefaultBaudRateIndex = 12;  // 115200

inline constexpr char kLabel1Hint[] = "Запустити диспетчер пристроїв";
inline constexpr char kPortBoxHint[] = "Ctrl+R оновлення списку портів";
inline constexpr char kBaudRateHint[] = "Швидкість встановлюється відповідно до документації на прилад";
inline constexpr char kMakerSiteHint[] = "Сайт виробника";
inline constexpr char kAboutHint[] = "Інформація про програму";
inline constexpr char kOpenHint[] = "Повинна бути точна відповідність приладу і мікропрограми для нього";
inline constexpr char kMemoAboutHint[] = "Інформація про прилад";

}  // namespace zorvan::win32::text
