// The design of the main window, Form1: menu bar and three pictures.
#pragma once

#include "app/identity.h"
#include "runtime/design.h"

namespace dilmora::app {

using runtime::FormDesign;
using runtime::ImageDesign;
using runtime::MenuItemDesign;

inline constexpr MenuItemDesign kMainMenu[] = {
    {.name = "irregularverbs", .caption = "Irregular Verbs"},
    {.name = "phrasalverbs", .caption = "Phrasal Verbs"},
    {.name = "particles", .caption = "Particles"},
    {.name = "numbers", .caption = "Numbers"},
    {.name = "aboutprogrammer", .caption = "About Programmer"},
};

// Each picture is one line of lettering; its accessible name is that line.
inline constexpr ImageDesign kMainPictures[] = {
    {.name = "Image1",
     .rect = {720, 240, 4545, 450},
     .bitmap = ":/app/assets/welcome.bmp",
     .accessibleName = identity::kGreeting},
    {.name = "Image2",
     .rect = {240, 840, 5460, 345},
     .bitmap = ":/app/assets/students.bmp",
     .accessibleName = "This program is made for English students"},
    {.name = "Image3",
     .rect = {1440, 1320, 3060, 345},
     .bitmap = ":/app/assets/programmer.bmp",
     .accessibleName = "Programmer: Ece Kaya"},
};

inline constexpr FormDesign kMainWindowDesign{
    .name = "Form1",
    .title = identity::kProductName,
    .clientWidth = 5925,
    .clientHeight = 1905,
    .background = 0xFFE0C0,
    .menu = kMainMenu,
    .images = kMainPictures,
};

} // namespace dilmora::app
