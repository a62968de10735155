#include "palette/typed_value.h"

#include <climits>

TypedValue ApplyTypedValueRule(int typedNumber, int low, int high) {
    if (typedNumber > high)
        return TypedValue{high, 1};
    if (typedNumber < low)
        return TypedValue{low, 1};
    return TypedValue{typedNumber, 0};
}

int UnwrapTypedNumber(const wchar_t* text, int parsed) {
    if (!text)
        return parsed;
    int negative = text[0] == L'-';
    const wchar_t* digit = text + negative;
    long long magnitude = 0;
    const long long limit = negative ? -(long long)INT_MIN : (long long)INT_MAX;
    for (; *digit >= L'0' && *digit <= L'9'; ++digit) {
        magnitude = magnitude * 10 + (*digit - L'0');
        if (magnitude > limit)
            return negative ? INT_MIN : INT_MAX;
    }
    return parsed;
}
