// Design of the About window. Its only handler is the click on "  Exit";
// no control takes the keyboard focus.
#include "about/about_window.h"

namespace dilmora::about {

namespace {

using runtime::Border;
using runtime::FontDesign;
using runtime::LabelDesign;
using runtime::Wrap;

constexpr runtime::Rgb kBackground = 0xFFE0C0;
constexpr runtime::Rgb kText = 0xC04000;
constexpr int kTurkishCharset = 162;

constexpr FontDesign kArialBold9{
    .family = "Arial", .pointSizeHundredths = 900, .weight = 700, .charset = kTurkishCharset};
constexpr FontDesign kArialBold975{
    .family = "Arial", .pointSizeHundredths = 975, .weight = 700, .charset = kTurkishCharset};

constexpr LabelDesign authorLine(std::string_view name, runtime::TwipRect rect,
                                 std::string_view caption, int tabIndex,
                                 std::string_view turkishPart = {})
{
    return {.name = name,
            .rect = rect,
            .caption = caption,
            .background = kBackground,
            .foreground = kText,
            .border = Border::None,
            .wrap = Wrap::AtBlanks,
            .font = &kArialBold9,
            .tabIndex = tabIndex,
            .turkishPart = turkishPart};
}

constexpr LabelDesign kLabels[] = {
    authorLine("Label1", {1440, 360, 2535, 255}, "Hello! My name's Ece Kaya", 0, "Ece Kaya"),
    authorLine("Label2", {1440, 600, 2775, 255}, "I'm from İzmir/Türkiye", 1, "İzmir/Türkiye"),
    authorLine("Label3", {1440, 960, 2775, 855},
               "I made this program with C++ and Qt 6 on 8 December 2026.", 2),
    authorLine("Label4", {1440, 1800, 2775, 255}, "E-mail: ece.kaya@example.org", 3),
    authorLine("Label5", {1440, 2160, 2655, 255}, " Web page: www.example.org", 4),
    authorLine("Label6", {1560, 2520, 975, 255}, "Thank you!", 5),
    // The close control: a dark block with light text at the lower right.
    {.name = "Label7",
     .rect = {3600, 2640, 615, 255},
     .caption = "  Exit",
     .background = kText,
     .foreground = kBackground,
     .border = Border::None,
     .wrap = Wrap::AtBlanks,
     .font = &kArialBold975,
     .tabIndex = 6},
};

constexpr runtime::ImageDesign kPictures[] = {
    {.name = "Image1",
     .rect = {120, 480, 1230, 1170},
     .bitmap = ":/about/assets/portrait.bmp",
     .accessibleDescription = "An open book, EN on its left page and TR on its right, under an "
                              "arrow that points both ways between them"},
};

} // namespace

const runtime::FormDesign kAboutDesign{
    .name = "Form2",
    .title = "About Programmer",
    .clientWidth = 4425,
    .clientHeight = 3075,
    .background = kBackground,
    .labels = kLabels,
    .images = kPictures,
};

std::unique_ptr<runtime::Form> createAboutWindow()
{
    auto window = std::make_unique<runtime::Form>(kAboutDesign);
    window->onClick("Label7", runtime::unloadSelf);
    return window;
}

} // namespace dilmora::about
