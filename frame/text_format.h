// printf-style formatting of integers into a text box's buffer, as the panel system's formatter
// does it: "%d", "%4d", "%-4d", "%04d", "%u", "%x", "%X", "%%" and plain characters. Writes at most
// `count` characters and then a terminating zero, so the buffer needs count + 1 bytes. Numbers are
// never cut in the middle by the formatter itself: a field wider than its width is written in
// full, and only the box's character count stops the text. Allocates nothing.
#pragma once

#include <cstdint>

namespace text_format {

class Writer {
public:
    Writer(char* buffer, uint32_t count) : buffer_(buffer), count_(count) {}
    void Put(char c) {
        if (length_ < count_) buffer_[length_++] = c;
    }
    uint32_t Finish() {
        buffer_[length_] = '\0';
        return length_;
    }

private:
    char* buffer_;
    uint32_t count_;
    uint32_t length_ = 0;
};

// Writes one integer conversion. `conversion` is d/i (signed), u (unsigned), x or X (hex).
inline void PutInteger(Writer& out, int32_t value, char conversion, uint32_t width, bool left,
                       bool zero_pad) {
    char digits[16];
    int n = 0;
    bool negative = false;
    uint32_t magnitude;
    if (conversion == 'd' || conversion == 'i') {
        negative = value < 0;
        // Two's complement magnitude: defined for INT32_MIN too.
        magnitude = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    } else {
        magnitude = static_cast<uint32_t>(value);
    }
    const uint32_t base = (conversion == 'x' || conversion == 'X') ? 16 : 10;
    const char* alphabet = conversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    do {
        digits[n++] = alphabet[magnitude % base];
        magnitude /= base;
    } while (magnitude != 0);
    const uint32_t length = static_cast<uint32_t>(n) + (negative ? 1 : 0);
    const uint32_t pad = width > length ? width - length : 0;
    if (!left && !zero_pad)
        for (uint32_t i = 0; i < pad; ++i) out.Put(' ');
    if (negative) out.Put('-');
    if (!left && zero_pad)
        for (uint32_t i = 0; i < pad; ++i) out.Put('0');
    while (n > 0) out.Put(digits[--n]);
    if (left)
        for (uint32_t i = 0; i < pad; ++i) out.Put(' ');
}

// Formats `format` with the integer arguments into buffer (count + 1 bytes). Returns the number
// of characters written before the zero. A conversion without an argument left prints 0.
template <typename... Ints>
uint32_t Format(char* buffer, uint32_t count, const char* format, Ints... args) {
    const int32_t values[] = {static_cast<int32_t>(args)..., 0};
    const uint32_t value_count = sizeof...(args);
    uint32_t next = 0;
    Writer out(buffer, count);
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            out.Put(*p);
            continue;
        }
        const char* start = p++;
        if (*p == '%') {
            out.Put('%');
            continue;
        }
        bool left = false, zero_pad = false;
        for (;; ++p) {
            if (*p == '-') left = true;
            else if (*p == '0') zero_pad = true;
            else break;
        }
        uint32_t width = 0;
        while (*p >= '0' && *p <= '9') {
            if (width < 1000) width = width * 10 + static_cast<uint32_t>(*p - '0');
            ++p;
        }
        if (*p == 'd' || *p == 'i' || *p == 'u' || *p == 'x' || *p == 'X') {
            const int32_t v = next < value_count ? values[next] : 0;
            ++next;
            PutInteger(out, v, *p, width, left, zero_pad);
        } else {
            // Not a conversion we know: copy it as written.
            for (const char* q = start; q <= p && *q != '\0'; ++q) out.Put(*q);
            if (*p == '\0') break;
        }
    }
    return out.Finish();
}

}  // namespace text_format
