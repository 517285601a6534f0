// SPDX-License-Identifier: MIT
// The live converter driven through real X input: conversions as typed, when a
// field converts, random editing, the desktop's scale and the About box.
// KALVIRA_TEST_SCALE=S: the run's X server asks for scale S (default 1).

// gtest first: the X headers define None and Bool as macros
#include <gtest/gtest.h>

#include "kalvira.h"
#include "optics.h"
#include "version.h"
#include "xinput.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

using xinput::text;

namespace {

const float scale = [] {
    const char* given = std::getenv("KALVIRA_TEST_SCALE");
    return given ? std::strtof(given, nullptr) : 1.0f;
}();
const bool reference_setup = scale == 1 && !std::getenv("FONTCONFIG_FILE");  // what the rows' texts were written for

bool equal(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }  // -0 equals 0

// Which callbacks ran, and whether one rewrote the pair of fields it belongs to.
std::map<Fl_Widget*, Fl_Callback*> original;
std::map<Fl_Widget*, std::vector<Fl_Value_Input*>> pair_of;
std::vector<Fl_Widget*> ran;
bool rewrote_own_pair = false;

std::string texts(const std::vector<Fl_Value_Input*>& fields)  // separated by blanks
{
    std::string all;
    for (std::size_t i = 0; i < fields.size(); ++i)
        all += (i ? " " : "") + text(fields[i]);
    return all;
}

void watch(Fl_Widget* w, void* data)
{
    const std::string before = texts(pair_of.at(w));
    ran.push_back(w);
    original.at(w)(w, data);
    rewrote_own_pair |= texts(pair_of.at(w)) != before;
}

enum Field { n_re, n_im, e_re, e_im, K, lambda };

// The window's size on the screen, in pixels.
std::pair<int, int> pixel_size(const Fl_Window* window)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(fl_display, fl_xid(window), &attributes);
    return {attributes.width, attributes.height};
}

// Where a rectangle of a window, given in the toolkit's units, has ink: the
// pixel columns and rows of its dark pixels, relative to the rectangle.
struct Ink {
    int left, right, top, bottom;
};

Ink ink(const Fl_Window* window, int x, int y, int w, int h)
{
    const float s = xinput::pixels_per_unit(window);
    const int W = int(w * s), H = int(h * s);
    XImage* image = XGetImage(fl_display, fl_xid(window), int(x * s), int(y * s), W, H, AllPlanes, ZPixmap);
    Ink found{W, -1, H, -1};
    for (int row = 0; image && row < H; ++row)
        for (int column = 0; column < W; ++column)
            if ((XGetPixel(image, column, row) & 0xff) < 128)
                found = {std::min(found.left, column), std::max(found.right, column), std::min(found.top, row),
                         std::max(found.bottom, row)};
    if (image)
        XDestroyImage(image);
    return found;
}

// A field not being typed into shows its text whole: its ink lies inside the
// box (a scrolled text is cut at the left) and reaches where the text ends, or,
// for a text marked as going on, the box's right.
void expect_shown_whole(Fl_Value_Input* field)
{
    const std::string shown = text(field);
    const float s = xinput::pixels_per_unit(field->window());
    const Fl_Boxtype box = field->box();
    const int W = field->w() - Fl::box_dw(box);
    const Ink found = ink(field->window(), field->x() + Fl::box_dx(box), field->y() + Fl::box_dy(box), W,
                          field->h() - Fl::box_dh(box));
    fl_font(field->textfont(), field->textsize());
    const double end = std::min(fl_width(shown.c_str()), W - 2.0) * s;
    const double bearing = 0.5 * field->textsize() * s;  // blank beside a glyph, at most
    EXPECT_TRUE(found.left > 0 && found.right < W * s - 1 && found.right + 1 >= end - bearing)
        << shown << ": ink from column " << found.left << " to " << found.right << " of " << W * s;
}

// A value the program wrote shows rounded to the digits that fit: the "%g"
// text when that has at most 10 characters, else at least four digits.
void expect_rounded(Fl_Value_Input* field)
{
    const std::string shown = text(field);
    const double value = field->value();
    char full[32];
    const int length = std::snprintf(full, sizeof full, "%g", value);
    if (!std::isfinite(value) || (length <= 10 && reference_setup)) {
        EXPECT_EQ(shown, full);
        return;
    }
    const auto e = shown.find('e'), point = shown.find('.');
    const int exponent = e == std::string::npos ? 0 : std::atoi(shown.c_str() + e + 1);
    const int last_place = exponent - (point == std::string::npos ? 0 : int(std::min(e, shown.size()) - point - 1));
    const double error = std::fabs(std::strtod(shown.c_str(), nullptr) - value) * (1 - 1e-9);
    EXPECT_LE(error, 0.5 * std::pow(10.0, last_place)) << shown << " is not the value rounded";
    EXPECT_LE(error, 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(value))) - 3)) << shown << " has fewer than four digits";
}

// The tooltip gives the stored value as the shortest text that reads back as it.
void expect_tip_reads_back(Fl_Value_Input* field)
{
    const char* line = std::strstr(field->tooltip(), "\n= ");
    ASSERT_NE(line, nullptr) << field->tooltip();
    const std::string number = line + 3;
    const double value = field->value();
    ASSERT_TRUE(equal(std::strtod(number.c_str(), nullptr), value)) << number << " for " << value;
    std::string digits = number.substr(0, number.find('e'));
    digits.erase(std::remove_if(digits.begin(), digits.end(), [](char c) { return !std::isdigit(c); }), digits.end());
    digits.erase(0, digits.find_first_not_of('0'));
    digits.erase(digits.find_last_not_of('0') + 1);
    char fewer[512];
    std::snprintf(fewer, sizeof fewer, "%.*g", int(digits.size()) - 1, value);
    ASSERT_TRUE(digits.size() <= 1 || std::strtod(fewer, nullptr) != value) << number << " is longer than " << fewer;
}

// A fresh window for every test, shown, with the field callbacks watched.
class Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        k = new KALVIRA;
        k->init();
        fields = {k->UI_n_real, k->UI_n_imag, k->UI_epsilon_real, k->UI_epsilon_imag, k->UI_K, k->UI_lambda};
        for (const int i : {n_re, n_im, e_re, e_im, lambda}) {
            pair_of[fields[i]] = i == lambda ? std::vector{fields[i]} : std::vector{fields[i & ~1], fields[i | 1]};
            original[fields[i]] = fields[i]->callback();
            fields[i]->callback(watch);
        }
        k->show();
        xinput::drawn(k->UI_window);
        normal_size = k->UI_n_real->textsize();
    }
    void TearDown() override
    {
        k->UI_window->hide();
        xinput::settle();
    }
    KALVIRA* k = nullptr;
    std::vector<Fl_Value_Input*> fields;
    Fl_Fontsize normal_size = 0;
};

const std::string drag = "<drag>", click = "<click>";

struct Row {
    const char* name;
    std::vector<std::pair<Field, std::string>> edits;  // text typed over the field's, a drag or a click
    const char* shown;                                  // n' k e' e'' K lambda afterwards
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

const Row rows[] = {
    {"WeakAbsorber", {{n_re, "1.5"}, {n_im, "0.01"}}, "1.5 0.01 2.2499 0.03 99291.8 632.8"},
    {"NIsI", {{n_re, "0"}, {n_im, "1"}}, "0 1 -1 0 9.92918e+06 632.8"},
    {"NIsOnePlusI", {{n_im, "1"}}, "1 1 0 2 9.92918e+06 632.8"},
    {"TypedNegativeNStays", {{n_re, "-1.5"}}, "-1.5 0 2.25 0 0 632.8"},
    {"FirstQuadrant", {{e_re, "3"}, {e_im, "4"}}, "2 1 3 4 9.92918e+06 632.8"},
    {"FourthQuadrant", {{e_re, "3"}, {e_im, "-4"}}, "2 -1 3 -4 -9.9292e+06 632.8"},
    {"SecondQuadrant", {{e_re, "-3"}, {e_im, "4"}}, "1 2 -3 4 1.98584e+07 632.8"},
    {"ThirdQuadrant", {{e_re, "-3"}, {e_im, "-4"}}, "1 -2 -3 -4 -1.9858e+07 632.8"},
    {"NegativeRealAxis", {{e_re, "-4"}}, "0 2 -4 0 1.98584e+07 632.8"},
    {"MinusZeroEpsilonImag", {{e_re, "-4"}, {e_im, "-0.5\b"}}, "-0 2 -4 -0. 1.98584e+07 632.8"},
    {"Zero", {{e_re, "0"}, {e_im, "0"}}, "0 0 0 0 0 632.8"},
    {"TinyBothParts", {{e_re, "4.9e-324"}, {e_im, "4.9e-324"}}, "2.4421e-162 1.0116e-162 4.9e-324 4.9e-324 1.0044e-155 632.8"},
    {"ImaginaryUnit", {{e_re, "0"}, {e_im, "1"}}, "0.707107 0.707107 0 1 7.02099e+06 632.8"},
    {"LongEpsilonImag", {{n_re, "0.7071067"}, {n_im, "0.01"}}, "0.7071067 0.01 0.4999 0.0141421 99291.8 632.8"},
    {"LongK", {{e_re, "-10"}, {e_im, "1"}}, "0.157917 3.16622 -10 1 3.1438e+07 632.8"},
    {"SmallNegatives", {{n_re, "0.00123456"}, {n_im, "-0.00987654"}}, "0.00123456 -0.00987654 -9.6022e-05 -2.4386e-05 -98065.9 632.8"},
    {"SmallThirdQuadrant", {{e_re, "-2e-300"}, {e_im, "-3e-300"}}, "8.9598e-151 -1.674e-150 -2e-300 -3e-300 -1.662e-143 632.8"},
    {"OtherRootEntered", {{n_re, "-2"}, {n_im, "-1"}, {e_im, "5"}, {e_im, "4"}}, "2 1 3 4 9.92918e+06 632.8"},
    {"PartnerReadByValue", {{e_re, "2"}, {n_im, "1"}}, "1.41421 1 1 2.82843 9.92918e+06 632.8"},
    {"NegativeWavelength", {{n_im, "0.01"}, {lambda, "-632.8"}}, "1 0.01 0.9999 0.02 -99291.8 -632.8"},
    {"ZeroWavelength", {{n_im, "1"}, {lambda, "0"}}, "1 1 0 2 inf 0"},
    {"ZeroWavelengthNoAbsorption", {{lambda, "0"}}, "1 0 1 0 -nan 0"},
    {"KTypedEqualsK", {{K, "0.0"}, {lambda, "500"}}, "1 0 1 0 0.0 500"},
    {"KTypedIsOnlyShown", {{K, "5"}, {lambda, "600"}}, "1 0 1 0 0 600"},
    {"AnyEditRewritesK", {{K, "5"}, {e_im, "0.5"}}, "1.02909 0.242934 1 0.5 2.41214e+06 632.8"},
    {"Hexadecimal", {{n_re, "0x1A"}}, "0x1A 0 676 0 0 632.8"},
    {"TabThroughAllFields", {{n_re, "2\t1\t5\t-1\t7\t500"}}, "2.24711 -0.222508 5 -1 -2.7961e+06 500"},
    {"NoDragging", {{lambda, drag}, {n_re, drag}, {K, drag}}, "1 0 1 0 0 632.8"},
    {"LettersIgnoredLoneMinus", {{n_re, "q2"}, {n_im, "-"}}, "2 - 4 0 0 632.8"},
    {"SumOverflows", {{e_re, "1e308"}, {e_im, "1e308"}}, "1.0987e+154 4.5509e+153 1e308 1e308 4.5187e+160 632.8"},
    {"SmallestEpsilonImag", {{e_re, "0"}, {e_im, "4.9e-324"}}, "1.5717e-162 1.5717e-162 0 4.9e-324 1.5606e-155 632.8"},
    {"HalvingRounds", {{e_re, "0"}, {e_im, "1.5e-323"}}, "2.7223e-162 2.7223e-162 0 1.5e-323 2.703e-155 632.8"},
    {"SquaresOverflowEqual", {{n_re, "1e155"}, {n_im, "1e155"}}, "1e155 1e155 0 inf 9.9292e+161 632.8"},
    {"SquaresOverflow", {{n_re, "1e200"}, {n_im, "1e199"}}, "1e200 1e199 inf inf 9.9292e+205 632.8"},
    {"LongTypedLeftByClick", {{n_im, "-9.87654321e-3"}, {n_re, "2"}}, "2 -9.87654321e-3 3.9999 -0.0395062 -98066 632.8"},
    {"LongTypedLeftAndBackIn", {{e_im, "1.23456789e-5"}, {e_re, "1"}, {e_im, click}}, "1 6.17284e-06 1 1.23456789e-5 61.2912 632.8"},
    {"LongTypedLeftByTab", {{n_im, "0.01"}, {lambda, "1.23456789e-5\t"}}, "1 0.01 0.9999 0.02 5.08938e+12 1.23456789e-5"},
    {"TooLongEvenSmall", {{lambda, "1.00000000000000000000001\t"}}, "1 0 1 0 0 1.00000000000000000000001"},
    {"InfiniteEpsilonImag", {{e_im, "-1e999"}}, "inf -inf 1 -1e999 -inf 632.8"},
    {"SquaresOverflowNegativeN", {{n_re, "-1e199"}, {n_im, "1e200"}}, "-1e199 1e200 -inf -inf 9.9292e+206 632.8"},
};

// At another scale or in other fonts a written value may show fewer digits,
// so there it is compared as the number it reads.
bool reads_as(const std::string& shown, const std::string& expected)
{
    const double a = std::strtod(shown.c_str(), nullptr), b = std::strtod(expected.c_str(), nullptr);
    return shown == expected || (!reference_setup && std::isfinite(b) && std::fabs(a - b) <= 1e-3 * std::fabs(b));
}

class Typing : public Window, public ::testing::WithParamInterface<Row> {};

TEST_P(Typing, ConvertsAsTyped)
{
    const Row& row = GetParam();
    for (const auto& [name, typed] : row.edits)
        if (typed == drag)
            xinput::drag(fields[name], 60);
        else if (typed == click)
            xinput::click(fields[name]);
        else
            xinput::replace(fields[name], typed);
    char expected[6][64];
    ASSERT_EQ(std::sscanf(row.shown, "%63s %63s %63s %63s %63s %63s", expected[0], expected[1], expected[2],
                          expected[3], expected[4], expected[5]), 6);
    for (int i = n_re; i <= lambda; ++i) {
        SCOPED_TRACE(testing::Message() << "field " << i);
        EXPECT_TRUE(reads_as(text(fields[i]), expected[i])) << text(fields[i]) << " for " << expected[i];
        if (Fl::focus() == &fields[i]->input)
            EXPECT_EQ(fields[i]->textsize(), normal_size) << "typed into at another size";
        else
            expect_shown_whole(fields[i]);
        if (std::none_of(row.edits.begin(), row.edits.end(), [&](const auto& edit) { return edit.first == i; }))
            expect_rounded(fields[i]);
        expect_tip_reads_back(fields[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Typing, ::testing::ValuesIn(rows), [](const auto& row) { return row.param.name; });

// Random keystrokes and pastes into random fields: each converts exactly when
// the number in the field typed into changes, never rewrites the pair typed
// into, and leaves the model, the fields and K in agreement, and the tooltips
// with them.  KALVIRA_SEED=N repeats a run.
TEST_F(Window, RandomEditing)
{
    const char* given = std::getenv("KALVIRA_SEED");
    const unsigned seed = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : 20261207u;
    SCOPED_TRACE(testing::Message() << "KALVIRA_SEED=" << seed);
    std::mt19937 random(seed);
    const auto pick = [&](const auto& from) { return from[random() % from.size()]; };
    const std::vector<unsigned long> keys = {'0', '1', '5', '9', '.', 'e', 'E', '+', '-', 'a', 'x', 'q', ' ',
                                             XK_BackSpace, XK_Delete, XK_Home, XK_End, XK_Left, XK_Right};
    const std::vector<std::string> pastes = {"3.14159265358979323846264338327950288", "no number here", "0x1F",
                                             "1." + std::string(100000, '7') + "e-3", "-2.5e+2", "  42  ", "inf", ""};
    for (int sequence = 0; sequence < 150 && !HasFatalFailure(); ++sequence) {
        Fl_Value_Input* focus = pick(fields);
        xinput::click(focus);
        for (int event = 0; event < 30 && !HasFatalFailure(); ++event) {
            SCOPED_TRACE(testing::Message() << "sequence " << sequence << ", event " << event);
            ran.clear();
            rewrote_own_pair = false;
            const double before = focus->value();
            const unsigned choice = random() % 100;
            if (choice < 6) {
                const std::string paste = pick(pastes);
                Fl::copy(paste.data(), static_cast<int>(paste.size()), 1);
                xinput::key(XK_v, xinput::control);
            } else {
                xinput::key(choice < 10 ? XK_a : pick(keys), choice < 10 ? xinput::control : xinput::none);
            }
            ASSERT_TRUE(ran.empty() || (ran.size() == 1 && ran[0] == focus)) << "a callback of another field";
            ASSERT_TRUE(focus == k->UI_K || ran.empty() == (focus->value() == before)) << "converted " << ran.size();
            ASSERT_FALSE(rewrote_own_pair) << "a conversion rewrote the pair typed into";
            ASSERT_TRUE(equal(k->K, optics::attenuation(k->n.imag(), k->lambda)));
            const double model[] = {k->n.real(), k->n.imag(), k->epsilon.real(), k->epsilon.imag(), k->K, k->lambda};
            for (int i = n_re; i <= lambda; ++i) {  // a typed K is only shown
                ASSERT_TRUE((i == K && ran.empty()) || equal(model[i], fields[i]->value())) << "field " << i;
                expect_tip_reads_back(fields[i]);
            }
        }
    }
}

TEST(NumberField, FitsAValueWrittenBeforeTheWindowIsShown)
{
    auto* k = new KALVIRA;
    k->UI_K->value(-9.92918e+06);
    k->show();
    xinput::drawn(k->UI_window);
    expect_shown_whole(k->UI_K);
    expect_rounded(k->UI_K);
    k->UI_window->hide();
    xinput::settle();
}

// The window takes the keyboard as a window manager gives it on mapping.
TEST_F(Window, TypingAtOnceReplacesTheFirstNumber)
{
    XSetInputFocus(fl_display, fl_xid(k->UI_window), RevertToPointerRoot, CurrentTime);
    for (const char c : std::string("2.5"))
        xinput::key(static_cast<unsigned char>(c));
    EXPECT_EQ(texts(fields), "2.5 0 6.25 0 0 632.8");
}

// The main window and the help window at the desktop's scale, to the pixel,
// and text as tall as the scale asks: the menu's (an underlined Q is about a
// text size tall), a label's (a lower-case n about half) and a number's.
TEST_F(Window, FollowsTheDesktopScale)
{
    const auto [width, height] = pixel_size(k->UI_window);
    EXPECT_NEAR(width, 231 * scale, 0.5);
    EXPECT_NEAR(height, 171 * scale, 0.5);
    const Fl_Widget *menu = k->UI_menubar, *n_real = k->UI_n_real;
    const std::pair<std::array<int, 4>, double> samples[] = {
        {{3, 3, menu->w() - 6, menu->h() - 6}, 0.8},
        {{0, n_real->y(), n_real->x(), n_real->h()}, 0.45},
        {{n_real->x() + 2, n_real->y() + 2, n_real->w() - 4, n_real->h() - 4}, 0.55}};
    for (const auto& [where, size] : samples) {
        const Ink found = ink(k->UI_window, where[0], where[1], where[2], where[3]);
        EXPECT_GE(found.bottom - found.top + 1, size * 14 * scale) << "text at " << where[0] << ", " << where[1];
    }
    k->help_dialog();
    Fl_Window* help = Fl::first_window();
    ASSERT_NE(help, k->UI_window);
    xinput::drawn(help);
    EXPECT_NEAR(pixel_size(help).first, 530 * scale, 0.5);
    help->hide();
}

TEST_F(Window, AboutNamesTheVersion)
{
    static std::string title, about;
    Fl::add_timeout(0.1, [](void*) {  // read the message box, the modal window, then dismiss it
        Fl_Window* box = Fl::modal();
        title = box->label() ? box->label() : "";
        for (int i = 0; i < box->children(); ++i)
            if (const char* label = box->child(i)->label(); label && std::strstr(label, "kalvira"))
                about = label;
        box->hide();
    });
    k->about_dialog();
    EXPECT_EQ(title, "About kalvira");
    EXPECT_EQ(about.rfind(std::string("kalvira ") + kalvira_version + " by ", 0), 0u) << about;
    EXPECT_NE(about.find("FLTK (www.fltk.org)"), std::string::npos) << about;
}

} // namespace
