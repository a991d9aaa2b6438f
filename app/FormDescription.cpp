#include "app/FormDescription.h"

namespace {

constexpr Settings S;

constexpr const char* kMemoHint =
    "W zapytaniu można korzystać z \r\n"
    "$LICZ1$, $LICZ2$, $LICZ3$\r\n"
    "-po kolei podstawia wartości liczników\r\n"
    "UWAGA! Jeśli chcemy korzystać z jednego licznika to wtedy w pozostałych trzeba ustawić "
    "OD=1 i DO=1\r\n"
    "\r\n"
    "POZIOMY PĘTLI:\r\n"
    "\r\n"
    "for LICZ1\r\n"
    "   for LICZ2\r\n"
    "       for LICZ3";

constexpr const char* kSilentHint = "Zaznaczenie powoduje, że program nie wyświetla komunikatów o błędach";

using K = ComponentKind;

}  // namespace

const FormSpec& MainFormSpec() {
  static const FormSpec description{"Użycie SQL z wykorzystaniem liczników",
                                    QRect(28, 98, 809, 635),
                                    "MS Sans Serif",
                                    "Liberation Sans",
                                    11,
                                    13,
                                    "memSQL"};
  return description;
}

const std::vector<ComponentSpec>& MainFormComponents() {
  // clang-format off
  static const std::vector<ComponentSpec> components{
    // name        kind             text at start     left, top, width, height  tab  further settings
    {"Label1",    K::Label,       "Treść",          {  8,   8,  27,  13}, kNoTab, S.AutoSize()},
    {"Label2",    K::Label,       "LICZNIK 1",      {704,  24,  68,  16}, kNoTab, S.Px13().Bold().AutoSize()},
    {"Label3",    K::Label,       "OD",             {680,  56,  16,  13}, kNoTab, S.AutoSize()},
    {"Label4",    K::Label,       "DO",             {680,  80,  16,  13}, kNoTab, S.AutoSize()},
    {"Label5",    K::Label,       "LICZNIK 2",      {704, 136,  68,  16}, kNoTab, S.Px13().Bold().AutoSize()},
    {"Label6",    K::Label,       "OD",             {680, 168,  16,  13}, kNoTab, S.AutoSize()},
    {"Label7",    K::Label,       "DO",             {680, 192,  16,  13}, kNoTab, S.AutoSize()},
    {"Label8",    K::Label,       "LICZNIK 3",      {704, 248,  68,  16}, kNoTab, S.Px13().Bold().AutoSize()},
    {"Label9",    K::Label,       "OD",             {680, 280,  16,  13}, kNoTab, S.AutoSize()},
    {"Label10",   K::Label,       "DO",             {680, 304,  16,  13}, kNoTab, S.AutoSize()},
    {"lblOpis",   K::Label,       "--------------", {688, 448,  71,  16}, kNoTab, S.Px13().Bold().Navy().AutoSize()},
    {"Label11",   K::Label,       "miejsc",         {688, 104,  29,  13}, kNoTab, S.AutoSize()},
    {"Label12",   K::Label,       "miejsc",         {688, 216,  29,  13}, kNoTab, S.AutoSize()},
    {"Label13",   K::Label,       "miejsc",         {688, 328,  29,  13}, kNoTab, S.AutoSize()},
    {"memSQL",    K::Memo,        "",               {  8,  24, 657, 529},  0, S.Hint(kMemoHint)},
    {"edOD1",     K::SpinEdit,    "",               {704,  48,  65,  24},  1, S.Px13().Value(2009)},
    {"edDO1",     K::SpinEdit,    "",               {704,  74,  65,  24},  2, S.Px13().Value(2011)},
    {"edOD2",     K::SpinEdit,    "",               {704, 160,  65,  24},  3, S.Px13().Value(1)},
    {"edDO2",     K::SpinEdit,    "",               {704, 186,  65,  24},  4, S.Px13().Value(12)},
    {"edOD3",     K::SpinEdit,    "",               {704, 272,  65,  24},  5, S.Px13().Value(1)},
    {"edDO3",     K::SpinEdit,    "",               {704, 298,  65,  24},  6, S.Px13().Value(10)},
    {"chExecSQL", K::CheckBox,    "Exec SQL",       {688, 368,  81,  17},  7, S.Checked()},
    {"btnDO",     K::Button,      "Wykonaj",        {688, 416,  75,  25},  8, S.OnClick("btnDOClick()")},
    {"BitBtn2",   K::CloseButton, "Wyjście",        {688, 528,  75,  25},  9, S},
    {"grd",       K::Grid,        "",               {  8,   8, 665, 553}, 10, S.Hidden()},
    {"edPL1",     K::SpinEdit,    "",               {721,  99,  48,  21}, 11, S.Value(2)},
    {"edPL2",     K::SpinEdit,    "",               {721, 211,  48,  21}, 12, S.Value(2)},
    {"edPL3",     K::SpinEdit,    "",               {721, 323,  48,  21}, 13, S.Value(1)},
    {"BitBtn1",   K::Button,      "STOP",           {688, 472,  75,  25}, 14, S.Picture(Glyph::Stop).OnClick("BitBtn1Click()")},
    {"chCichy",   K::CheckBox,    "Tryb cichy",     {688, 384,  81,  17}, 15, S.Checked().Hint(kSilentHint)},
    {"qry",       K::Query,       "",               {},                   kNoTab, S},
    {"ds",        K::DataSource,  "",               {},                   kNoTab, S},
  };
  // clang-format on
  return components;
}
