// SPDX-License-Identifier: MIT
// The value input of kalvira's window: numbers in a narrow face, shown whole
// whenever the field is not being typed into (a written value rounded to the
// digits that fit, a typed one in a smaller size), and a tooltip naming the
// quantity, its unit and the stored value.
#pragma once

#include <FL/Fl_Value_Input.H>

#include <cstdio>

class Number_Field : public Fl_Value_Input {
public:
    Number_Field(int X, int Y, int W, int H, const char* label = nullptr);
    void set_quantity(const char* symbol, const char* meaning);  // what the tooltip names
    // What follows from the value, under it in the tooltip, as printf writes the
    // format with the arguments.  Lines longer than the room for them are left
    // out whole: cut, a number would read as another.
    template <typename... Args>
    void set_derived(const char* format, Args... args)
    {
        if (std::snprintf(derived_, sizeof derived_, format, args...) >= static_cast<int>(sizeof derived_))
            derived_[0] = '\0';
        refresh_tip();
    }
    void select_all();                    // as Tab does: typing replaces the text
    int format(char* buffer) override;
    int handle(int event) override;

protected:
    void draw() override;

private:
    void value_damage() override;
    static void read_typed(Fl_Widget* input, void* field);
    void refresh_tip();
    bool window_shown() const;
    Fl_Fontsize normal_size();
    Fl_Fontsize smallest_size();
    Fl_Fontsize size_that_fits(const char* text, Fl_Fontsize smallest);
    int digits_that_fit();
    void fit();
    int baseline() const;
    void draw_marked(int left, int right, int baseline);
    void keep_selection_centred(int X, int Y, int W, int H, int offset);

    Fl_Callback* toolkit_read_typed_;
    const char* symbol_ = "";
    const char* meaning_ = "";
    static constexpr int tip_part_size = 128;  // the quantity's lines, or what follows: bytes at most, with the zero
    char derived_[tip_part_size] = "";
    Fl_Fontsize normal_size_ = 0;  // the field's text size, taken before any shrinking
    bool fitted_ = false;          // the text was measured against the field
    bool typing_ = false;          // and fitted for typing
    bool marked_ = false;          // too long even at the smallest size: cut, with an ellipsis
    // The toolkit keeps the tooltip's pointer, not a copy: the text stays in this
    // buffer, two parts whose spaces became two-byte no-break ones.
    char tip_[2 * 2 * tip_part_size] = "";
};
