// SPDX-License-Identifier: MIT
// The live converter driven through real X input: start-up, conversions,
// the typing rules of the fields and the window's layout.

// gtest first: the X headers define None and Bool as macros
#include <gtest/gtest.h>

#include "kalvira.h"
#include "version.h"
#include "xinput.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>
#include <FL/x.H>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

using xinput::replace;
using xinput::text;

namespace {

class Converter : public ::testing::Test {
protected:
    void SetUp() override
    {
        k = new KALVIRA;
        k->init();
        xinput::show_and_wait(k->UI_window);
    }
    void TearDown() override
    {
        k->UI_window->hide();
        xinput::settle();
    }

    Fl_Value_Input* field(const std::string& name) const
    {
        const std::map<std::string, Fl_Value_Input*> fields = {
            {"n'", k->UI_n_real},        {"k", k->UI_n_imag},  {"e'", k->UI_epsilon_real},
            {"e''", k->UI_epsilon_imag}, {"K", k->UI_K},       {"lambda", k->UI_lambda}};
        return fields.at(name);
    }

    KALVIRA* k = nullptr;
};

// Counts the runs of a field's callback without changing what it does.
struct CallbackCounter {
    static inline Fl_Callback* original = nullptr;
    static inline int runs = 0;
    explicit CallbackCounter(Fl_Widget* w)
    {
        original = w->callback();
        runs = 0;
        w->callback([](Fl_Widget* o, void* v) { ++runs; original(o, v); });
    }
};

TEST_F(Converter, StartsWithUnitIndexAtHeliumNeonWavelength)
{
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"n'", "1"}, {"k", "0"}, {"e'", "1"}, {"e''", "0"}, {"K", "0"}, {"lambda", "632.8"}};
    for (const auto& [name, shown] : expected)
        EXPECT_EQ(text(field(name)), shown) << name;
    EXPECT_EQ(k->n, std::complex<double>(1, 0));
    EXPECT_EQ(k->epsilon, std::complex<double>(1, 0));
    EXPECT_EQ(k->K, 0.0);
    EXPECT_EQ(k->lambda, 632.8);
}

struct Conversion {
    const char* what;
    std::vector<std::pair<std::string, std::string>> edits;  // field, text typed
    std::map<std::string, std::string> shown;                // field, text afterwards
};

TEST_F(Converter, ConvertsWhileTyping)
{
    const std::vector<Conversion> table = {
        {"weak absorber", {{"n'", "1.5"}, {"k", "0.01"}},
         {{"e'", "2.2499"}, {"e''", "0.03"}, {"K", "99291.8"}}},
        {"n = i", {{"n'", "0"}, {"k", "1"}}, {{"e'", "-1"}, {"e''", "0"}}},
        {"n = 1 + i", {{"k", "1"}}, {{"e'", "0"}, {"e''", "2"}, {"K", "9.92918e+06"}}},
        {"n' typed negative stays", {{"n'", "-1.5"}}, {{"n'", "-1.5"}, {"e'", "2.25"}}},
        {"e = -1", {{"e'", "-1"}}, {{"n'", "0"}, {"k", "1"}}},
        {"first quadrant", {{"e'", "3"}, {"e''", "4"}}, {{"n'", "2"}, {"k", "1"}}},
        {"fourth quadrant", {{"e'", "3"}, {"e''", "-4"}},
         {{"n'", "2"}, {"k", "-1"}, {"K", "-9.92918e+06"}}},
        {"second quadrant", {{"e'", "-3"}, {"e''", "4"}}, {{"n'", "1"}, {"k", "2"}}},
        {"third quadrant", {{"e'", "-3"}, {"e''", "-4"}}, {{"n'", "1"}, {"k", "-2"}}},
        {"negative real axis", {{"e'", "-4"}, {"e''", "0"}}, {{"n'", "0"}, {"k", "2"}}},
        {"zero", {{"e'", "0"}, {"e''", "0"}}, {{"n'", "0"}, {"k", "0"}, {"K", "0"}}},
        {"imaginary unit", {{"e'", "0"}, {"e''", "1"}}, {{"n'", "0.707107"}, {"k", "0.707107"}}},
        {"other root entered", {{"n'", "-2"}, {"k", "-1"}, {"e''", "5"}, {"e''", "4"}},
         {{"n'", "2"}, {"k", "1"}}},
        {"negative wavelength", {{"k", "0.01"}, {"lambda", "-632.8"}}, {{"K", "-99291.8"}}},
        {"zero wavelength, absorbing", {{"k", "1"}, {"lambda", "0"}}, {{"K", "inf"}}},
        {"overflowing half-sum", {{"e'", "1e308"}, {"e''", "1e308"}},
         {{"n'", "1.09868e+154"}, {"k", "4.5509e+153"}}},
        {"smallest epsilon''", {{"e'", "0"}, {"e''", "4.9e-324"}},
         {{"n'", "1.57173e-162"}, {"k", "1.57173e-162"}}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        TearDown();
        SetUp();
        for (const auto& [name, typed] : row.edits)
            replace(field(name), typed);
        for (const auto& [name, shown] : row.shown)
            EXPECT_EQ(text(field(name)), shown) << name;
        // the model and the derived fields agree
        EXPECT_EQ(text(k->UI_K), xinput::shown(k->K));
    }
}

TEST_F(Converter, ZeroWavelengthWithoutAbsorptionIsNotANumber)
{
    replace(k->UI_lambda, "0");
    EXPECT_TRUE(std::isnan(k->K));
    EXPECT_EQ(text(k->UI_K), xinput::shown(k->K));
}

TEST_F(Converter, NegativeZeroImaginaryPartKeepsPositiveRoot)
{
    replace(k->UI_epsilon_real, "-4");
    replace(k->UI_epsilon_imag, "-0.5");
    xinput::key(XK_BackSpace);  // leaves "-0." which reads as minus zero
    EXPECT_EQ(text(k->UI_epsilon_imag), "-0.");
    EXPECT_TRUE(std::signbit(k->epsilon.imag()));
    EXPECT_EQ(text(k->UI_n_real), xinput::shown(-0.0));
    EXPECT_TRUE(std::signbit(k->n.real()));
    EXPECT_EQ(text(k->UI_n_imag), "2");
}

TEST_F(Converter, ConvertsOnlyWhenTheNumberChanges)
{
    replace(k->UI_n_real, "");
    EXPECT_EQ(k->n.real(), 0.0);
    EXPECT_EQ(text(k->UI_epsilon_real), "0");

    CallbackCounter counter(k->UI_n_real);
    const std::vector<std::pair<std::string, int>> keystrokes = {
        {"1", 1}, {".", 1}, {"5", 2}, {"q", 2}, {"a", 2}, {"0", 2}};
    for (const auto& [typed, runs] : keystrokes) {
        xinput::type(typed);
        EXPECT_EQ(CallbackCounter::runs, runs) << "after " << typed;
    }
    EXPECT_EQ(text(k->UI_n_real), "1.50");  // the edited field keeps the user's text
    EXPECT_EQ(text(k->UI_epsilon_real), "2.25");

    xinput::key(XK_a, xinput::control);
    xinput::type("-");
    EXPECT_EQ(k->n.real(), 0.0);  // a lone minus sign reads as zero
    xinput::type("0");
    EXPECT_EQ(CallbackCounter::runs, 3);  // -0 equals the 0 already stored
}

TEST_F(Converter, PartnerFieldIsReadByValueNotByText)
{
    replace(k->UI_epsilon_real, "2");
    ASSERT_EQ(text(k->UI_n_real), "1.41421");
    replace(k->UI_n_imag, "1");
    EXPECT_EQ(text(k->UI_epsilon_real), "1");  // 1.41421 squared would show 0.99999
    EXPECT_EQ(text(k->UI_epsilon_imag), "2.82843");
}

TEST_F(Converter, KFieldIsOnlyADisplay)
{
    replace(k->UI_K, "0.0");
    replace(k->UI_lambda, "500");
    EXPECT_EQ(text(k->UI_K), "0.0");  // recomputed K equals the typed number
    replace(k->UI_K, "5");
    EXPECT_EQ(k->K, 0.0);
    EXPECT_EQ(text(k->UI_n_real), "1");
    replace(k->UI_lambda, "600");
    EXPECT_EQ(text(k->UI_K), "0");
}

TEST_F(Converter, FieldsTakeFocusWhereTheyAreDrawnInAFixedWindow)
{
    for (auto* f : {k->UI_n_real, k->UI_n_imag, k->UI_epsilon_real, k->UI_epsilon_imag, k->UI_K,
                    k->UI_lambda}) {
        xinput::click(f);
        EXPECT_EQ(Fl::focus(), &f->input) << f->label();
    }
    EXPECT_EQ(k->UI_window->w(), 231);
    EXPECT_EQ(k->UI_window->h(), 171);
    EXPECT_EQ(std::string(k->UI_window->label()).rfind("kalvira ", 0), 0u);
    // fixed size as the window system sees it
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(fl_display, fl_xid(k->UI_window), &hints, &supplied));
    EXPECT_TRUE((hints.flags & PMinSize) && (hints.flags & PMaxSize));
    EXPECT_EQ(hints.min_width, 231);
    EXPECT_EQ(hints.max_width, 231);
    EXPECT_EQ(hints.min_height, 171);
    EXPECT_EQ(hints.max_height, 171);
}

TEST_F(Converter, AboutNamesTheVersion)
{
    static std::string about;
    Fl::add_timeout(0.1, [](void*) {  // read the message box, then dismiss it
        Fl_Window* box = fl_message_icon()->window();
        for (int i = 0; i < box->children(); ++i)
            if (box->child(i)->label() && std::string(box->child(i)->label()).size() > 20)
                about = box->child(i)->label();
        box->hide();
    });
    k->about_dialog();
    EXPECT_EQ(about.rfind(std::string("kalvira ") + kalvira_version + " by ", 0), 0u) << about;
    EXPECT_NE(about.find("FLTK (www.fltk.org)"), std::string::npos) << about;
}

} // namespace
