// SPDX-License-Identifier: MIT
// How kalvira's fields show numbers: see number_field.h.

#include "number_field.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

// At size 14 a narrow face fits six digits and an exponent into a 70-unit
// field, where the toolkit's default sans fits about five characters.  The
// package depends on Nimbus Sans Narrow; Windows has no narrow face on every
// machine, so there it is the first of a few that the machine has.  (A leading
// blank in a name asks the toolkit for the regular style.)
Fl_Font number_face()
{
    static const Fl_Font face = [] {
#ifdef _WIN32
        const Fl_Font fonts = Fl::set_fonts(nullptr);
        for (const char* wanted : {" Bahnschrift SemiCondensed", " Arial Narrow", " Nimbus Sans Narrow"})
            for (Fl_Font font = FL_FREE_FONT; font < fonts; ++font)
                if (std::strcmp(Fl::get_font(font), wanted) == 0)
                    return font;
        return FL_HELVETICA;
#else
        Fl::set_font(FL_FREE_FONT, " Nimbus Sans Narrow");
        return FL_FREE_FONT;
#endif
    }();
    return face;
}

constexpr int full_digits = 6;  // the toolkit's "%g"

} // namespace

Number_Field::Number_Field(int X, int Y, int W, int H, const char* label)
    : Fl_Value_Input(X, Y, W, H, label), toolkit_read_typed_(input.callback())
{
    input.callback(read_typed, this);
    textfont(number_face());
    tooltip(tip_);
}

void Number_Field::describe(const char* quantity, Tip tip)
{
    quantity_ = quantity;
    tip_kind_ = tip;
    refresh_tip();
}

// "%g" when it fits; otherwise the most significant digits that do, rounded by
// printf, so that a sign or a leading digit is never scrolled out of sight.
// The input draws its text one pixel in from the box; keep as much at the right.
// A field not yet on screen is measured when first drawn, so that start-up
// maps the window before it loads any font.
int Number_Field::format(char* buffer)
{
    fitted_ = window() && window()->shown();
    if (fitted_)
        fl_font(textfont(), textsize());
    const double room = w() - Fl::box_dw(box()) - 2;
    int length = 0;
    for (int digits = full_digits; digits > 0; --digits) {
        length = std::snprintf(buffer, 128, "%.*g", digits, value());
        if (!fitted_ || fl_width(buffer, length) <= room)
            break;
    }
    return length;
}

void Number_Field::draw()
{
    if (!fitted_)
        value_damage();
    Fl_Value_Input::draw();
}

// As the toolkit writes a value, but with the cursor at the start: at the end
// it makes the input scroll to keep half a line free behind it.
void Number_Field::value_damage()
{
    char text[128];
    format(text);
    input.value(text);
#if FL_API_VERSION >= 10400
    input.insert_position(0);
#else
    input.position(0);
#endif
    refresh_tip();
}

// The toolkit's own reading of typed text (parse, store, call back), then the
// tooltip follows the new value.
void Number_Field::read_typed(Fl_Widget* input, void* field)
{
    auto* self = static_cast<Number_Field*>(field);
    self->toolkit_read_typed_(input, field);
    self->refresh_tip();
}

void Number_Field::refresh_tip()
{
    if (tip_kind_ == Tip::quantity_and_value)
        std::snprintf(tip_, sizeof tip_, "%s\n= %.17g", quantity_, value());
    else
        std::snprintf(tip_, sizeof tip_, "%s", quantity_);
}
