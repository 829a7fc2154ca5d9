// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/form1layout.h"

#include <array>

namespace kelsa
{

namespace
{

using K = ControlKind;
constexpr auto L = K::Label;
constexpr auto T = K::Text;
constexpr auto F = K::Frame;
constexpr auto C = K::Command;
constexpr auto O = K::Option;
constexpr auto N = K::Navigator;
constexpr unsigned B = Bold;

// Mixed captions are deliberate: "Pпрв", "Pкв", "Pнв", "Gп", "Gпр", "Vр.ветра м/с" and
// "Vmax в." start with a Latin letter; "Рнв", "Тн кгс", "Тк кгс", "Тпр кгс" with a Cyrillic one.
constexpr ControlRow kControls[] = {
    // The window: bottom strip, right column, top strip, the two load-case columns.
    { "Command19", C, "", 7680, 8280, 1215, 255, 226, "Сброс все", B },
    { "Command16", C, "", 9600, 8280, 1095, 255, 225, "Выход", B },
    { "Command15", C, "", 9000, 8280, 495, 255, 224, "?", B },
    { "Option24", O, "", 3360, 8280, 1095, 255, 223, "tavik", B },
    { "Option23", O, "", 2280, 8280, 1095, 255, 222, "windows", B },
    { "Command18", C, "", 240, 8280, 1935, 255, 221, "Калькулятор", B },
    { "Command17", C, "", 240, 8280, 1935, 255, 220, "Калькулятор", B },
    { "Frame39", F, "", 7800, 2880, 2895, 5295, 184, "Дополнительные нагрузки", B | Grey },
    { "Frame37", F, "", 8520, 0, 2295, 615, 169, "Переходная опора", B },
    { "Frame35", F, "", 7680, 720, 3015, 7455, 159, "Переходная опора", B },
    { "Frame27", F, "", 3960, 720, 3615, 7455, 109, "Максимальный ветер", B },
    { "Frame25", F, "", 4920, 0, 3615, 615, 105, "Участок пути", B },
    { "Frame24", F, "", 4080, 0, 855, 615, 103, "Vmax в.", B },
    { "Text5", T, "", 8280, 2280, 615, 285, 101, "0", Plain },
    { "Text4", T, "", 8280, 1920, 615, 285, 99, "1", Plain },
    { "Text3", T, "", 8280, 1560, 615, 285, 95, "0", Plain },
    { "Text2", T, "", 8280, 1200, 615, 285, 94, "0", Plain },
    { "Text1", T, "", 8280, 840, 615, 285, 93, "0", Plain },
    { "Frame10", F, "", 2400, 3480, 1335, 1455, 26, "Vр.ветра м/с ", Plain },
    { "Frame5", F, "", 120, 0, 1335, 615, 6, "Длина прол.", B },
    { "Frame2", F, "", 1440, 0, 2655, 615, 1, "Толщина ст. гололеда мм", B },
    { "Frame1", F, "", 120, 720, 3735, 7455, 0, "Гололед с ветром", B },
    { "Label17", L, "", 9000, 2280, 615, 255, 102, "a m", Plain },
    { "Label16", L, "", 9000, 1920, 615, 255, 100, "R m", Plain },
    { "Label15", L, "", 9000, 1560, 615, 255, 98, "Тпр кгс", Plain },
    { "Label14", L, "", 9000, 1200, 615, 255, 97, "Тк кгс", Plain },
    { "Label13", L, "", 9000, 840, 615, 255, 96, "Тн кгс", Plain },

    // Top strip.
    { "Prolet", T, "Frame5", 120, 240, 975, 285, 7, "0", Plain },
    { "Option4", O, "Frame2", 1800, 240, 495, 255, 5, "20", Plain },
    { "Option3", O, "Frame2", 1200, 240, 495, 255, 4, "15", Plain },
    { "Option2", O, "Frame2", 600, 240, 495, 255, 3, "10", Plain },
    { "Option1", O, "Frame2", 120, 240, 495, 255, 2, "5", Plain },
    { "txtVm", T, "Frame24", 120, 240, 615, 285, 104, "0", Plain },
    { "Option20", O, "Frame25", 2280, 240, 1215, 255, 108, "Вну.кривая", Plain },
    { "Option19", O, "Frame25", 1080, 240, 1215, 255, 107, "Вне.кривая", Plain },
    { "Option18", O, "Frame25", 120, 240, 975, 255, 106, "Прямая", Plain },
    { "Option22", O, "Frame37", 1320, 240, 855, 255, 171, "Откл", B },
    { "Option21", O, "Frame37", 240, 240, 735, 255, 170, "Вкл", B },

    // Left column: ice with wind.
    { "Frame3", F, "Frame1", 240, 240, 2055, 1215, 213, "Gп", B },
    { "Frame26", F, "Frame1", 2280, 5880, 1335, 975, 153, "Мо вг", B | Red },
    { "Command2", C, "Frame1", 1320, 6960, 975, 375, 152, "Сброс", Plain },
    { "Command1", C, "Frame1", 240, 6960, 975, 375, 151, "Мо вг", Plain },
    { "Frame13", F, "Frame1", 240, 5640, 2055, 1215, 71, "Pпрв", B },
    { "Frame19", F, "Frame1", 2280, 4200, 1335, 1575, 63, "Vр.ветра м/с", Plain },
    { "Frame12", F, "Frame1", 240, 4200, 2055, 1455, 36, "Pкв", B },
    { "Frame11", F, "Frame1", 240, 1560, 2055, 1215, 30, "Gпр", B },
    { "Frame4", F, "Frame1", 240, 2760, 2055, 1455, 8, "Рнв", B },

    { "Data2", N, "Frame3", 120, 480, 1215, 375, -1, "Data2", Plain },
    { "Gp5", T, "Frame3", 1320, 480, 615, 345, 218, "", Plain },
    { "Gp10", T, "Frame3", 1320, 480, 615, 345, 217, "", Plain },
    { "Gp15", T, "Frame3", 1320, 480, 615, 345, 216, "", Plain },
    { "Gp20", T, "Frame3", 1320, 480, 615, 345, 215, "", Plain },
    { "txtGp", T, "Frame3", 120, 840, 1815, 285, 214, "0", Plain },
    { "Label3", L, "Frame3", 120, 240, 1695, 255, 219, "", Plain },

    { "txtGpr", T, "Frame11", 120, 840, 1815, 285, 89, "0", Plain },
    { "Gpr20", T, "Frame11", 1320, 480, 615, 375, 35, "", Plain },
    { "Gpr15", T, "Frame11", 1320, 480, 615, 375, 34, "", Plain },
    { "Gpr10", T, "Frame11", 1320, 480, 615, 375, 33, "", Plain },
    { "Gpr5", T, "Frame11", 1320, 480, 615, 375, 32, "", Plain },
    { "Data3", N, "Frame11", 120, 480, 1215, 375, -1, "Data3", Plain },
    { "Label4", L, "Frame11", 120, 240, 1335, 255, 31, "", Plain },

    { "txtGnv", T, "Frame4", 120, 960, 1815, 285, 211, "0", Plain },
    { "Frame9", F, "Frame4", 1320, 480, 615, 495, 22, "", Plain },
    { "Frame8", F, "Frame4", 1320, 480, 615, 495, 18, "", Plain },
    { "Frame7", F, "Frame4", 1320, 480, 615, 495, 14, "", Plain },
    { "Frame6", F, "Frame4", 1320, 480, 615, 495, 10, "", Plain },
    { "Data1", N, "Frame4", 120, 600, 1215, 375, -1, "Data1", Plain },
    { "Label2", L, "Frame4", 120, 240, 1695, 255, 9, "", Plain },
    { "Pnv3", T, "Frame6", 0, 120, 615, 345, 13, "", Plain },
    { "Pnv2", T, "Frame6", 0, 120, 615, 345, 12, "", Plain },
    { "Pnv1", T, "Frame6", 0, 120, 615, 345, 11, "", Plain },
    { "Pnv6", T, "Frame7", 0, 120, 615, 345, 17, "", Plain },
    { "Pnv5", T, "Frame7", 0, 120, 615, 345, 16, "", Plain },
    { "Pnv4", T, "Frame7", 0, 120, 615, 345, 15, "", Plain },
    { "Pnv9", T, "Frame8", 0, 120, 615, 375, 21, "", Plain },
    { "Pnv8", T, "Frame8", 0, 120, 615, 375, 20, "", Plain },
    { "Pnv7", T, "Frame8", 0, 120, 615, 375, 19, "", Plain },
    { "Pnv12", T, "Frame9", 0, 120, 615, 345, 25, "", Plain },
    { "Pnv11", T, "Frame9", 0, 120, 615, 345, 24, "", Plain },
    { "Pnv10", T, "Frame9", 0, 120, 615, 345, 23, "", Plain },

    { "txtPkv", T, "Frame12", 120, 960, 1815, 285, 90, "0", Plain },
    { "Frame18", F, "Frame12", 1320, 480, 615, 555, 58, "", Plain },
    { "Frame17", F, "Frame12", 1320, 480, 615, 555, 53, "", Plain },
    { "Frame16", F, "Frame12", 1320, 480, 615, 555, 48, "", Plain },
    { "Frame15", F, "Frame12", 1320, 480, 615, 555, 42, "", Plain },
    { "Frame14", F, "Frame12", 1320, 480, 615, 555, 38, "", Plain },
    { "Data4", N, "Frame12", 120, 600, 1260, 375, -1, "Data4", Plain },
    { "Label6", L, "Frame12", 120, 240, 1695, 255, 37, "", Plain },
    { "Pkv9", T, "Frame14", 0, 120, 615, 345, 43, "", Plain },
    { "Pkv8", T, "Frame14", 0, 120, 615, 345, 41, "", Plain },
    { "Pkv7", T, "Frame14", 0, 120, 615, 345, 40, "", Plain },
    { "Pkv6", T, "Frame14", 0, 120, 615, 345, 39, "", Plain },
    { "Pkv13", T, "Frame15", 0, 120, 615, 345, 47, "", Plain },
    { "Pkv12", T, "Frame15", 0, 120, 615, 345, 46, "", Plain },
    { "Pkv11", T, "Frame15", 0, 120, 615, 345, 45, "", Plain },
    { "Pkv10", T, "Frame15", 0, 120, 615, 345, 44, "", Plain },
    { "Pkv17", T, "Frame16", 0, 120, 615, 345, 52, "", Plain },
    { "Pkv16", T, "Frame16", 0, 120, 615, 345, 51, "", Plain },
    { "Pkv15", T, "Frame16", 0, 120, 615, 345, 50, "", Plain },
    { "Pkv14", T, "Frame16", 0, 120, 615, 345, 49, "", Plain },
    { "Pkv21", T, "Frame17", 0, 120, 615, 345, 57, "", Plain },
    { "Pkv20", T, "Frame17", 0, 120, 615, 345, 56, "", Plain },
    { "Pkv19", T, "Frame17", 0, 120, 615, 345, 55, "", Plain },
    { "Pkv18", T, "Frame17", 0, 120, 615, 345, 54, "", Plain },
    { "Pkv25", T, "Frame18", 0, 120, 615, 345, 62, "", Plain },
    { "Pkv24", T, "Frame18", 0, 120, 615, 345, 61, "", Plain },
    { "Pkv23", T, "Frame18", 0, 120, 615, 345, 60, "", Plain },
    { "Pkv22", T, "Frame18", 0, 120, 615, 345, 59, "", Plain },

    { "txtPprv", T, "Frame13", 120, 840, 1815, 285, 91, "0", Plain },
    { "Frame23", F, "Frame13", 1320, 360, 615, 355, 76, "", Plain },
    { "Frame22", F, "Frame13", 1320, 360, 615, 495, 75, "", Plain },
    { "Frame21", F, "Frame13", 1320, 360, 615, 495, 74, "", Plain },
    { "Frame20", F, "Frame13", 1320, 360, 615, 495, 73, "", Plain },
    { "Data5", N, "Frame13", 120, 480, 1215, 345, -1, "Data5", Plain },
    { "Label11", L, "Frame13", 120, 240, 1695, 255, 72, "", Plain },
    { "Pprv3", T, "Frame20", 0, 120, 615, 345, 79, "", Plain },
    { "Pprv2", T, "Frame20", 0, 120, 615, 345, 78, "", Plain },
    { "Pprv1", T, "Frame20", 0, 120, 615, 345, 77, "", Plain },
    { "Pprv6", T, "Frame21", 0, 120, 615, 345, 82, "", Plain },
    { "Pprv5", T, "Frame21", 0, 120, 615, 345, 81, "", Plain },
    { "Pprv4", T, "Frame21", 0, 120, 615, 345, 80, "", Plain },
    { "Pprv9", T, "Frame22", 0, 120, 615, 345, 85, "", Plain },
    { "Pprv8", T, "Frame22", 0, 120, 615, 345, 84, "", Plain },
    { "Pprv7", T, "Frame22", 0, 120, 615, 345, 83, "", Plain },
    { "Pprv12", T, "Frame23", 0, 120, 615, 345, 88, "", Plain },
    { "Pprv11", T, "Frame23", 0, 120, 615, 345, 87, "", Plain },
    { "Pprv10", T, "Frame23", 0, 120, 615, 345, 86, "", Plain },

    { "Option17", O, "Frame19", 120, 240, 495, 255, 70, "10", Plain },
    { "Option16", O, "Frame19", 120, 1200, 615, 255, 67, "20", Plain },
    { "Option15", O, "Frame19", 120, 960, 615, 255, 66, "17,5", Plain },
    { "Option14", O, "Frame19", 120, 720, 615, 255, 65, "15", Plain },
    { "Option13", O, "Frame19", 120, 480, 615, 255, 64, "12,5", Plain },
    { "Label9", L, "Frame19", 720, 240, 495, 255, 69, "Pкв", Plain },

    { "Label1", L, "Frame26", 120, 240, 975, 615, 154, "", Red },

    // The wind speed in ice for "Рнв" and "Pпрв": on the window, over the left column.
    { "Option7", O, "Frame10", 120, 960, 615, 375, 29, "20", Plain },
    { "Option6", O, "Frame10", 120, 600, 495, 375, 28, "15", Plain },
    { "Option5", O, "Frame10", 120, 240, 495, 375, 27, "10", Plain },
    { "Label12", L, "Frame10", 600, 480, 495, 375, 92, "Pпрв", Plain },
    { "Label7", L, "Frame10", 600, 240, 375, 495, 68, "Pнв", Plain },

    // Middle column: maximum wind.
    { "Frame28", F, "Frame27", 2160, 5880, 1335, 975, 157, "Мо в max", B | Red },
    { "Command4", C, "Frame27", 1200, 6960, 975, 375, 156, "Сброс", Plain },
    { "Command3", C, "Frame27", 120, 6960, 975, 375, 155, "Мо в max", Plain },
    { "Frame34", F, "Frame27", 120, 5520, 2055, 1335, 142, "Pпрв в", B },
    { "Frame33", F, "Frame27", 120, 4200, 2055, 1335, 133, "Pкв в", B },
    { "Frame32", F, "Frame27", 2160, 2640, 1335, 1575, 126, "Vmax в.м/с", Plain },
    { "Frame31", F, "Frame27", 120, 2760, 2055, 1335, 118, "Рнв в", B },
    { "Frame30", F, "Frame27", 120, 1440, 2055, 1215, 114, "Gпр в", B },
    { "Frame29", F, "Frame27", 120, 240, 2055, 1215, 110, "Gп в", B },

    { "txtSum1", T, "Frame29", 120, 840, 1815, 285, 113, "0", Plain },
    { "Text6", T, "Frame29", 1320, 480, 615, 345, 112, "", Plain },
    { "Data6", N, "Frame29", 120, 480, 1215, 375, -1, "Data6", Plain },
    { "Label19", L, "Frame29", 120, 240, 1335, 255, 111, "", Plain },

    { "txtSum2", T, "Frame30", 120, 840, 1815, 285, 117, "0", Plain },
    { "Text8", T, "Frame30", 1320, 480, 615, 375, 116, "", Plain },
    { "Data7", N, "Frame30", 120, 480, 1215, 375, -1, "Data7", Plain },
    { "Label20", L, "Frame30", 120, 240, 1455, 255, 115, "", Plain },

    { "txtPro5", T, "Frame31", 1320, 480, 615, 345, 125, "", Plain },
    { "txtPro4", T, "Frame31", 1320, 480, 615, 345, 124, "", Plain },
    { "txtPro3", T, "Frame31", 1320, 480, 615, 345, 123, "", Plain },
    { "txtPro2", T, "Frame31", 1320, 480, 615, 345, 122, "", Plain },
    { "txtPro1", T, "Frame31", 1320, 480, 615, 345, 120, "", Plain },
    { "txtSum3", T, "Frame31", 120, 840, 1815, 285, 121, "0", Plain },
    { "Data8", N, "Frame31", 120, 480, 1215, 375, -1, "Data8", Plain },
    { "Label21", L, "Frame31", 120, 240, 1575, 255, 119, "", Plain },

    { "Option12", O, "Frame32", 120, 1200, 495, 255, 131, "40", Plain },
    { "Option11", O, "Frame32", 120, 960, 495, 255, 130, "35", Plain },
    { "Option10", O, "Frame32", 120, 720, 495, 255, 129, "30", Plain },
    { "Option9", O, "Frame32", 120, 480, 495, 255, 128, "25", Plain },
    { "Option8", O, "Frame32", 120, 240, 495, 255, 127, "20", Plain },
    { "Label25", L, "Frame32", 600, 720, 615, 375, 150, "Pпрв в", Plain },
    { "Label23", L, "Frame32", 600, 480, 495, 255, 141, "Pкв в", Plain },
    { "Label8", L, "Frame32", 600, 240, 495, 255, 132, "Рнв в", Plain },

    { "txtSum4", T, "Frame33", 120, 840, 1815, 285, 140, "0", Plain },
    { "txtPr5", T, "Frame33", 1320, 480, 615, 345, 139, "", Plain },
    { "txtPr4", T, "Frame33", 1320, 480, 615, 345, 138, "", Plain },
    { "txtPr3", T, "Frame33", 1320, 480, 615, 345, 137, "", Plain },
    { "txtPr2", T, "Frame33", 1320, 480, 615, 345, 136, "", Plain },
    { "txtPr1", T, "Frame33", 1320, 480, 615, 345, 135, "", Plain },
    { "Data9", N, "Frame33", 120, 480, 1215, 345, -1, "Data9", Plain },
    { "Label22", L, "Frame33", 120, 240, 1695, 255, 134, "", Plain },

    { "txtSum5", T, "Frame34", 120, 840, 1815, 285, 149, "0", Plain },
    { "txtPo5", T, "Frame34", 1320, 480, 615, 345, 148, "", Plain },
    { "txtPo4", T, "Frame34", 1320, 480, 615, 345, 147, "", Plain },
    { "txtPo3", T, "Frame34", 1320, 480, 615, 345, 146, "", Plain },
    { "txtPo2", T, "Frame34", 1320, 480, 615, 345, 145, "", Plain },
    { "txtPo1", T, "Frame34", 1320, 480, 615, 345, 144, "", Plain },
    { "Data10", N, "Frame34", 120, 480, 1215, 375, -1, "Data10", Plain },
    { "Label24", L, "Frame34", 120, 240, 1095, 255, 143, "", Plain },

    { "Label5", L, "Frame28", 120, 240, 975, 615, 158, "", Red },

    // Right column: additional loads, a 3 x 3 grid each for straight track and curves.
    { "Command14", C, "Frame39", 1800, 4800, 975, 375, 212, "Сброс", Plain },
    { "Frame41", F, "Frame39", 240, 2520, 2415, 2175, 198, "Кривая", Grey },
    { "Frame40", F, "Frame39", 240, 360, 2415, 2055, 185, "Прямая", Grey },

    { "txtD1", T, "Frame40", 240, 240, 615, 375, 186, "1", Plain },
    { "txtD4", T, "Frame40", 840, 240, 615, 375, 187, "0", Plain },
    { "txtD7", T, "Frame40", 1560, 240, 375, 375, 194, "1", Plain },
    { "txtD2", T, "Frame40", 240, 720, 615, 375, 188, "1", Plain },
    { "txtD5", T, "Frame40", 840, 720, 615, 375, 189, "0", Plain },
    { "TxtD8", T, "Frame40", 1560, 720, 375, 375, 195, "1", Plain },
    { "txtD3", T, "Frame40", 240, 1200, 615, 375, 190, "1", Plain },
    { "txtD6", T, "Frame40", 840, 1200, 615, 375, 191, "0", Plain },
    { "txtD9", T, "Frame40", 1560, 1200, 375, 375, 196, "1", Plain },
    { "Label33", L, "Frame40", 360, 1680, 615, 255, 192, "+ - G/P", Plain },
    { "Label34", L, "Frame40", 1080, 1680, 255, 255, 193, "L/l", Plain },
    { "Label35", L, "Frame40", 1680, 1680, 135, 255, 197, "n", Plain },

    { "txtF1", T, "Frame41", 240, 360, 615, 375, 199, "1", Plain },
    { "txtF4", T, "Frame41", 840, 360, 615, 375, 200, "0", Plain },
    { "txtF7", T, "Frame41", 1560, 360, 375, 375, 201, "1", Plain },
    { "txtF2", T, "Frame41", 240, 840, 615, 375, 202, "1", Plain },
    { "txtF5", T, "Frame41", 840, 840, 615, 375, 203, "0", Plain },
    { "txtF8", T, "Frame41", 1560, 840, 375, 375, 204, "1", Plain },
    { "txtF3", T, "Frame41", 240, 1320, 615, 375, 205, "1", Plain },
    { "txtF6", T, "Frame41", 840, 1320, 615, 375, 206, "0", Plain },
    { "txtF9", T, "Frame41", 1560, 1320, 375, 375, 207, "1", Plain },
    { "Label36", L, "Frame41", 240, 1800, 615, 255, 208, "+ - T", Plain },
    { "Label37", L, "Frame41", 960, 1800, 375, 255, 209, "L/l", Plain },
    { "Label38", L, "Frame41", 1680, 1800, 135, 255, 210, "n", Plain },

    // Right column in its other state: the transition support.
    { "txtLp", T, "Frame35", 240, 3360, 855, 375, 182, "0", Plain },
    { "Command13", C, "Frame35", 1800, 6960, 975, 375, 181, "Сброс", Plain },
    { "Frame38", F, "Frame35", 120, 3960, 2775, 2775, 172, "Максимальный ветер", B },
    { "Frame36", F, "Frame35", 120, 240, 2775, 2895, 160, "Гололед с ветром", B },
    { "Label32", L, "Frame35", 1200, 3360, 1335, 375, 183, "L от переходной до анкерной", Plain },

    { "Command8", C, "Frame36", 120, 2160, 1335, 495, 164, "Ветер от пути на опору-ПЯТА", Plain },
    { "Command7", C, "Frame36", 120, 1560, 1335, 495, 163, "Ветер отопоры на путь-ПЯТА", Plain },
    { "Command6", C, "Frame36", 120, 960, 1335, 495, 162, "Ветер от пути на опору", Plain },
    { "Command5", C, "Frame36", 120, 360, 1335, 495, 161, "Ветер отопоры на путь", Plain },
    { "Label27", L, "Frame36", 1560, 2160, 1095, 495, 168, "", Red },
    { "Label26", L, "Frame36", 1560, 1560, 1095, 495, 167, "", Red },
    { "Label18", L, "Frame36", 1560, 960, 1095, 495, 166, "", Red },
    { "Label10", L, "Frame36", 1560, 360, 1095, 495, 165, "", Red },

    { "Command12", C, "Frame38", 120, 2040, 1335, 495, 179, "Ветер от пути на опору-ПЯТА", Plain },
    { "Command11", C, "Frame38", 120, 1440, 1335, 495, 177, "Ветер отопоры на путь-ПЯТА", Plain },
    { "Command10", C, "Frame38", 120, 840, 1335, 495, 175, "Ветер от пути на опору", Plain },
    { "Command9", C, "Frame38", 120, 240, 1335, 495, 173, "Ветер отопоры на путь", Plain },
    { "Label31", L, "Frame38", 1560, 2040, 975, 495, 180, "", Red },
    { "Label30", L, "Frame38", 1560, 1440, 1095, 495, 178, "", Red },
    { "Label29", L, "Frame38", 1560, 840, 1095, 495, 176, "", Red },
    { "Label28", L, "Frame38", 1560, 240, 1095, 495, 174, "", Red },
};

} // namespace

std::span<const ControlRow> form1Controls()
{
    return kControls;
}

} // namespace kelsa
