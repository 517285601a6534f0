// SPDX-License-Identifier: MIT
// How kalvira's fields show numbers: see number_field.h.

#include "number_field.h"
#include "read_back.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/fl_utf8.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

constexpr int full_digits = 6;          // the toolkit's "%g"
constexpr int digits_before_shrinking = 4;  // fewer only at the smallest size
constexpr char continues[] = "…";

int cursor(const Fl_Input& input)
{
#if FL_API_VERSION >= 10400
    return input.insert_position();
#else
    return input.position();
#endif
}

void select(Fl_Input& input, int cursor, int mark)
{
#if FL_API_VERSION >= 10400
    input.insert_position(cursor, mark);
#else
    input.position(cursor, mark);
#endif
}

// Spaces as no-break spaces, which the toolkit does not wrap at: FLTK 1.3
// wraps a tooltip at 400 pixels whatever the scale, and scaled, most lines
// are wider.  `whole` has room for twice the text.
void keep_lines_whole(const char* text, char* whole)
{
    for (; *text; ++text)
        if (*text == ' ') {
            *whole++ = '\xc2';
            *whole++ = '\xa0';
        } else {
            *whole++ = *text;
        }
    *whole = '\0';
}

// The input's background without a frame, inset as the field's box: the input
// is drawn moved up or down inside the field's frame, where its own frame
// would show as a line.
Fl_Boxtype frameless(Fl_Boxtype box)
{
    static const Fl_Boxtype inside = [box] {
        Fl::set_boxtype(FL_FREE_BOXTYPE, [](int x, int y, int w, int h, Fl_Color color) { fl_rectf(x, y, w, h, color); },
                        Fl::box_dx(box), Fl::box_dy(box), Fl::box_dw(box), Fl::box_dh(box));
        return FL_FREE_BOXTYPE;
    }();
    return inside;
}

} // namespace

// Typed keys go to the inner input, never through handle(); its callback,
// Fl_Value_Input's private reading of the text, is wrapped to follow them.
Number_Field::Number_Field(int X, int Y, int W, int H, const char* label)
    : Fl_Value_Input(X, Y, W, H, label), toolkit_read_typed_(input.callback())
{
    input.callback(read_typed, this);
    textfont(number_face());
    tooltip(tip_);
}

void Number_Field::set_quantity(const char* symbol, const char* meaning)
{
    symbol_ = symbol;
    meaning_ = meaning;
    refresh_tip();
}

// With the cursor at the start, where the toolkit scrolls nothing out of sight.
void Number_Field::select_all()
{
    select(input, 0, input.size());
}

// Only then is a text measured: measuring earlier would load the fonts before
// the window maps, and delay it.
bool Number_Field::window_shown() const
{
    return window() && window()->shown();
}

// Taken when first measured, once the window is shown: after any scaling.
Fl_Fontsize Number_Field::normal_size()
{
    if (!normal_size_)
        normal_size_ = textsize();
    return normal_size_;
}

// About 10 at the toolkit's normal 14: the smallest still read at a glance.
Fl_Fontsize Number_Field::smallest_size()
{
    return static_cast<Fl_Fontsize>(std::lround(normal_size() * 5 / 7.0));
}

// The largest text size, from the field's own down to `smallest`, at which the
// text fits whole; 0 if none does.  Fl_Input_::drawtext starts the text one
// pixel inside the box, and as much is kept free at the right.  A text with
// more bytes than the room has pixels cannot fit (no character of a number is
// narrower than a pixel) and is not measured: X measures widths in 16 bits,
// and a text wider than 32767 pixels would seem to fit.
Fl_Fontsize Number_Field::size_that_fits(const char* text, Fl_Fontsize smallest)
{
    const double room = w() - Fl::box_dw(box()) - 2;
    if (std::strlen(text) > room)
        return 0;
    for (Fl_Fontsize size = normal_size(); size >= smallest; --size) {
        fl_font(textfont(), size);
        if (fl_width(text) <= room)
            return size;
    }
    return 0;
}

// As "%g", in as many digits as fit.
int Number_Field::format(char* buffer)
{
    return std::snprintf(buffer, 128, "%.*g", digits_that_fit(), value());
}

// Six, the toolkit's "%g", when they fit at the field's size; otherwise the
// most significant digits that do, rounded by printf, down to four; then four
// in a smaller size; fewer only at the smallest.  A field not yet on screen
// takes six and is formatted again when drawn.
int Number_Field::digits_that_fit()
{
    char text[128];
    for (int digits = full_digits; digits > 1; --digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value());
        if (!window_shown() || size_that_fits(text, digits > digits_before_shrinking ? normal_size() : smallest_size()))
            return digits;
    }
    return 1;
}

// Chooses the text's size; nothing else does.  Typed into, the text is at the
// field's own size and scrolls as the toolkit scrolls it (a click into a
// smaller text has put the cursor where it was clicked, and it stays there).
// Otherwise the text shows from its first character, the cursor put at the
// start to scroll the input back, in the largest size at which it fits whole;
// a text too long even at the smallest size is cut and ends in an ellipsis.
void Number_Field::fit()
{
    fitted_ = window_shown();
    if (!fitted_)
        return;
    typing_ = Fl::focus() == &input;
    if (typing_) {
        marked_ = false;
        textsize(normal_size());
    } else {
        const Fl_Fontsize size = size_that_fits(input.value(), smallest_size());
        marked_ = size == 0;
        textsize(marked_ ? smallest_size() : size);
        select(input, 0, 0);
    }
    redraw();
}

// A field typed into or left is fitted anew.
int Number_Field::handle(int event)
{
    const int handled = Fl_Value_Input::handle(event);
    if (fitted_ && typing_ != (Fl::focus() == &input))
        fit();
    return handled;
}

// Where the text's baseline lies below the top of the box's inside: the
// digits' ink in the middle.  The toolkit's input centres the font's line
// height instead, and Pango's line height for the narrow face leaves its digits
// three pixels high.  The toolkit measures the ink in whole units: here in
// pixels, with the font at the window's scale.  Of two baselines equally near,
// the higher: Cairo draws glyphs up to a pixel below where it measures them.
int Number_Field::baseline() const
{
#if FL_API_VERSION >= 10400
    const float pixels = Fl::screen_scale(window()->screen_num());
#else
    const float pixels = 1;  // FLTK 1.3 draws one pixel a unit
#endif
    fl_font(textfont(), static_cast<Fl_Fontsize>(std::lround(textsize() * pixels)));
    int dx, dy, w, h;
    fl_text_extents("0123456789", dx, dy, w, h);
    fl_font(textfont(), textsize());
    return static_cast<int>(std::floor((this->h() - Fl::box_dh(box()) - (h + 2.0 * dy) / pixels) / 2));
}

// A value written before the window was shown is formatted and fitted here, at
// the first drawing, after the window has mapped: measuring text when the
// window is shown would load the fonts first and delay the mapping by about a
// quarter.  The inner input puts the baseline where
// Fl_Input_::drawtext does; for the drawing it is moved by the difference to
// baseline(), inside the field's frame, with a frameless box of its own.  A
// text cut with an ellipsis is drawn here instead: the input would draw all of
// it, and X, measuring in 16 bits, would wrap a long one's positions back into
// view.
void Number_Field::draw()
{
    if (!fitted_)
        value_damage();
    if (damage() & ~FL_DAMAGE_CHILD) {
        draw_box();
        input.clear_damage(FL_DAMAGE_ALL);
    }
    const int X = x() + Fl::box_dx(box()), Y = y() + Fl::box_dy(box()), H = h() - Fl::box_dh(box());
    const int right = x() + w() - Fl::box_dx(box());
    fl_push_clip(X, Y, right - X, H);
    if (marked_) {
        fl_rectf(X, Y, right - X, H, color());
        draw_marked(X + 1, right, Y + baseline());
    } else {
        fl_font(textfont(), textsize());
        const int toolkit_baseline = (H - fl_height()) / 2 + fl_height() - fl_descent();
        input.box(frameless(box()));
        input.color(color(), selection_color());
        input.resize(x(), y() + baseline() - toolkit_baseline, w(), h());
        static_cast<Fl_Widget&>(input).draw();
        input.resize(x(), y(), w(), h());
        keep_selection_centred(X, Y, right - X, H, baseline() - toolkit_baseline);
    }
    fl_pop_clip();
    input.clear_damage();
}

// The toolkit's input draws its selection and its cursor as tall as the font's
// line, which it centres in the box; moved by `offset` to centre the digits
// instead, they move with the text (on Pango, three units down at size 14).
// The rows they moved into are drawn again as the text shows unselected, and
// those they left, outside the line and so without ink of the text, are filled.
// The places are Fl_Input_::drawtext's: the text starts xscroll() to the left of
// the box and a unit in, the cursor two units wide.
void Number_Field::keep_selection_centred(int X, int Y, int W, int H, int offset)
{
    const bool active = Fl::focus() == &input;
    const char* text = input.value();
    if (offset == 0 || !(active || Fl::pushed() == &input) ||
        std::any_of(text, text + input.size(), [](char c) { return c >= 0 && c < ' '; }))  // shown as ^X
        return;
    fl_font(textfont(), textsize());
    const int line = Y + (H - fl_height()) / 2, rows = std::abs(offset);
    const Fl_Color selection = input.selection_color(), cursor_colour = input.cursor_color();
    fl_push_clip(X, offset > 0 ? line + fl_height() : line + offset, W, rows);
    input.selection_color(color());
    input.cursor_color(color());
    input.resize(x(), y() + offset, w(), h());
    input.clear_damage(FL_DAMAGE_ALL);
    static_cast<Fl_Widget&>(input).draw();
    input.resize(x(), y(), w(), h());
    input.selection_color(selection);
    input.cursor_color(cursor_colour);
    fl_pop_clip();

    struct Scroll : Fl_Input {  // a protected member, read as C++ lets a subclass point to it
        static int of(const Fl_Input& input) { return (input.*&Scroll::xscroll)(); }
    };
    const float start = static_cast<float>(X - Scroll::of(input) + 1);
    const int from = std::min(cursor(input), input.mark()), to = std::max(cursor(input), input.mark());
    const int top = offset > 0 ? line : line + fl_height() + offset;
    fl_push_clip(X, top, W, rows);
    fl_rectf(X, top, W, rows, color());
    if (from < to) {
        const float x1 = start + static_cast<float>(fl_width(text, from)), x2 = start + static_cast<float>(fl_width(text, to));
        fl_rectf(static_cast<int>(x1 + 0.5f), top, static_cast<int>(x2 - x1 + 0.5f), rows, selection);
    } else if (active && !input.readonly()) {
        fl_rectf(static_cast<int>(start + static_cast<int>(fl_width(text, from) + 0.5) + 0.5f), top, 2, rows, cursor_colour);
    }
    fl_pop_clip();
}

// The start of the text that leaves room for the mark, then the mark, from
// `left` to `right` on `baseline`, as the input draws text.
void Number_Field::draw_marked(int left, int right, int baseline)
{
    fl_font(textfont(), textsize());
    const char* text = input.value();
    const double room = right - 1 - left - fl_width(continues);
    const char* end = text + std::strlen(text);
    int shown = 0;  // the bytes of the whole characters that fit
    for (int next = 0; text[shown]; shown = next) {
        next = static_cast<int>(fl_utf8fwd(text + shown + 1, text, end) - text);
        if (fl_width(text, next) > room)
            break;
    }
    fl_color(active_r() ? textcolor() : fl_inactive(textcolor()));
    fl_draw(text, shown, static_cast<float>(left), static_cast<float>(baseline));
    fl_draw(continues, static_cast<float>(left + std::ceil(fl_width(text, shown))), static_cast<float>(baseline));
}

// Writes the value's text as Fl_Value_Input::value_damage does, but with the
// cursor at the start, not the end: there the input scrolls the text to keep
// half a line free after the cursor, and a long text loses its start.  A text
// that was wholly selected (the first field's at start-up) is selected again.
void Number_Field::value_damage()
{
    char text[128];
    format(text);
    const bool all_selected = input.size() > 0 && std::abs(input.mark() - cursor(input)) == input.size();
    input.value(text);
    fit();
    if (all_selected)
        select_all();
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

// The quantity, its value as the shortest text that reads back as it, and what
// follows from it.
void Number_Field::refresh_tip()
{
    char plain[sizeof tip_ / 2];
    std::snprintf(plain, sizeof plain, "%s: %s\n%s = %.*g%s%s", symbol_, meaning_, symbol_, digits_to_read_back(value()),
                  value(), *derived_ ? "\n" : "", derived_);
    keep_lines_whole(plain, tip_);
}
