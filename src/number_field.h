// SPDX-License-Identifier: MIT
// The value input of kalvira's window: numbers in a narrow face, each written
// value shown whole (rounded to the digits that fit), and a tooltip naming the
// quantity, its unit and, for results, the stored value to full precision.
#pragma once

#include <FL/Fl_Value_Input.H>

class Number_Field : public Fl_Value_Input {
public:
    enum class Tip { quantity, quantity_and_value };

    Number_Field(int X, int Y, int W, int H, const char* label = nullptr);
    void describe(const char* quantity, Tip tip);
    int format(char* buffer) override;

protected:
    void draw() override;

private:
    void value_damage() override;
    static void read_typed(Fl_Widget* input, void* field);
    void refresh_tip();

    Fl_Callback* toolkit_read_typed_;
    const char* quantity_ = "";
    Tip tip_kind_ = Tip::quantity;
    bool fitted_ = false;  // the text was measured against the field
    char tip_[256] = "";  // the tooltip shown reads this buffer in place, so it never dangles
};
