#pragma once
// The rule for a number typed into one of the palette's setting boxes.

struct TypedValue {
    int setting;    // the value the setting takes
    int rewriteBox; // 1 when the box must show the setting instead of what was typed
};

// A number below `low` or above `high` becomes that limit and is written back into the box;
// a number in range is taken as it is and the box keeps its text as typed, characters after
// the number included.
TypedValue ApplyTypedValueRule(int typedNumber, int low, int high);

// StrToIntW wraps a number with more digits than an int holds ("4294967306" reads as 10).
// Given the text and what StrToIntW made of it, this returns the parsed value, or INT_MAX or
// INT_MIN when the leading number (an optional '-' then ASCII digits, the only form that
// reads as a number at all) lies beyond the int range, so the limits of the rule apply.
int UnwrapTypedNumber(const wchar_t* text, int parsed);
