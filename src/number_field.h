// SPDX-License-Identifier: MIT
// The value input of kalvira's window: numbers in a narrow face, shown whole
// whenever the field is not being typed into (a written value rounded to the
// digits that fit, a typed one in a smaller size), and a tooltip naming the
// quantity, its unit and the stored value.
#pragma once

#include <FL/Fl_Value_Input.H>

class Number_Field : public Fl_Value_Input {
public:
    Number_Field(int X, int Y, int W, int H, const char* label = nullptr);
    void describe(const char* symbol, const char* meaning);  // the quantity the tooltip names
    void derived(const char* line);       // a line under the value: what follows from it
    void select_all();                    // as Tab does: typing replaces the text
    int format(char* buffer) override;
    int handle(int event) override;

protected:
    void draw() override;

private:
    void value_damage() override;
    static void read_typed(Fl_Widget* input, void* field);
    void refresh_tip();
    bool measurable() const;
    Fl_Fontsize normal_size();
    Fl_Fontsize smallest_size();
    Fl_Fontsize size_that_fits(const char* text, Fl_Fontsize smallest);
    int digits_that_fit();
    void fit();
    int baseline() const;
    void draw_marked(int left, int right, int baseline);

    Fl_Callback* toolkit_read_typed_;
    const char* symbol_ = "";
    const char* meaning_ = "";
    char derived_[128] = "";
    Fl_Fontsize normal_size_ = 0;  // the field's text size, taken before any shrinking
    bool fitted_ = false;          // the text was measured against the field
    bool typing_ = false;          // and fitted for typing
    bool continues_ = false;       // too long even at the smallest size: drawn with a mark
    char tip_[640] = "";  // the tooltip shown reads this buffer in place, so it never dangles
};
