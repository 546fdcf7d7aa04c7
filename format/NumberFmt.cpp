#include "format/NumberFmt.h"

#include <array>

namespace {

// A decimal number split into its parts, with the rounding to the wanted number of
// fraction digits resolved lazily digit by digit, so that formatting needs no copy.
class RoundedDigits
{
public:
    // Returns false when plain is not "[-]digits[.digits]" (one side may be empty).
    bool Parse(std::string_view plain, int numDigits)
    {
        m_bNegative = !plain.empty() && plain.front() == '-';
        if (m_bNegative)
            plain.remove_prefix(1);
        const auto point = plain.find('.');
        m_int = plain.substr(0, point);
        m_frac = point == std::string_view::npos ? std::string_view{} : plain.substr(point + 1);
        if (m_int.empty() && m_frac.empty())
            return false;
        for (std::string_view part : {m_int, m_frac}) {
            for (char c : part) {
                if (c < '0' || c > '9')
                    return false;
            }
        }
        while (!m_int.empty() && m_int.front() == '0')
            m_int.remove_prefix(1);

        m_nDigits = numDigits < 0 ? 0 : static_cast<std::size_t>(numDigits);
        m_bRoundUp = m_nDigits < m_frac.size() && m_frac[m_nDigits] >= '5';
        m_nLastNon9 = -1;
        if (m_bRoundUp) {
            for (std::size_t k = KeptCount(); k-- > 0;) {
                if (Raw(k) != '9') {
                    m_nLastNon9 = static_cast<std::ptrdiff_t>(k);
                    break;
                }
            }
        }
        return true;
    }

    bool Negative() const { return m_bNegative; }
    std::size_t FractionDigits() const { return m_nDigits; }
    // Integer digits without leading zeros, after rounding (0 when the integer part is 0).
    std::size_t IntegerDigits() const { return m_int.size() + (CarryOut() ? 1 : 0); }

    // The i-th integer digit, from the left.
    char IntegerDigit(std::size_t i) const
    {
        if (CarryOut())
            return i == 0 ? '1' : Kept(i - 1);
        return Kept(i);
    }
    char FractionDigit(std::size_t i) const { return Kept(m_int.size() + i); }

    bool IsZero() const
    {
        if (CarryOut())
            return false;
        for (std::size_t k = 0; k < KeptCount(); ++k) {
            if (Kept(k) != '0')
                return false;
        }
        return true;
    }

private:
    std::size_t KeptCount() const { return m_int.size() + m_nDigits; }
    bool CarryOut() const { return m_bRoundUp && m_nLastNon9 < 0; }

    char Raw(std::size_t k) const
    {
        if (k < m_int.size())
            return m_int[k];
        k -= m_int.size();
        return k < m_frac.size() ? m_frac[k] : '0';
    }

    char Kept(std::size_t k) const
    {
        const char c = Raw(k);
        if (!m_bRoundUp)
            return c;
        const auto pos = static_cast<std::ptrdiff_t>(k);
        if (pos > m_nLastNon9)
            return '0';
        return pos == m_nLastNon9 ? static_cast<char>(c + 1) : c;
    }

    std::string_view m_int;
    std::string_view m_frac;
    std::size_t m_nDigits = 0;
    std::ptrdiff_t m_nLastNon9 = -1;
    bool m_bNegative = false;
    bool m_bRoundUp = false;
};

// Tells, digit by digit from the left, where the thousands separators go.
class GroupPlan
{
public:
    explicit GroupPlan(int grouping)
    {
        if (grouping <= 0)
            return;
        std::array<int, 10> reversed{};
        std::size_t n = 0;
        for (int g = grouping; g > 0 && n < reversed.size(); g /= 10)
            reversed[n++] = g % 10;
        for (std::size_t i = 0; i < n; ++i)
            m_sizes[i] = reversed[n - 1 - i];
        m_nSizes = n;
        // A final 0 ends the grouping; any other final size repeats.
        m_bRepeat = m_sizes[m_nSizes - 1] != 0;
        if (!m_bRepeat)
            --m_nSizes;
    }

    // True when a separator stands between the digit that has `right` digits to its
    // right and the digit before it.
    bool SeparatorBefore(std::size_t right) const
    {
        if (m_nSizes == 0 || right == 0)
            return false;
        std::size_t boundary = 0;
        for (std::size_t i = 0;; ++i) {
            int size = 0;
            if (i < m_nSizes)
                size = m_sizes[i];
            else if (m_bRepeat)
                size = m_sizes[m_nSizes - 1];
            if (size <= 0)
                return false;
            boundary += static_cast<std::size_t>(size);
            if (boundary == right)
                return true;
            if (boundary > right)
                return false;
        }
    }

private:
    std::array<int, 10> m_sizes{};
    std::size_t m_nSizes = 0;
    bool m_bRepeat = false;
};

// Writes whole pieces into a caller's buffer and drops every piece once one did not fit,
// so that a cut text never ends inside a character.
class SpanSink
{
public:
    explicit SpanSink(std::span<char> out) : m_out(out) {}

    void Put(std::string_view piece)
    {
        if (m_bFull)
            return;
        if (m_out.empty() || piece.size() > m_out.size() - 1 - m_nPos) {
            m_bFull = true;
            return;
        }
        for (char c : piece)
            m_out[m_nPos++] = c;
    }

    std::size_t Finish()
    {
        if (!m_out.empty())
            m_out[m_nPos] = '\0';
        return m_nPos;
    }

private:
    std::span<char> m_out;
    std::size_t m_nPos = 0;
    bool m_bFull = false;
};

class StringSink
{
public:
    void Put(std::string_view piece) { m_text.append(piece); }
    std::string Take() { return std::move(m_text); }

private:
    std::string m_text;
};

template <class Sink>
void EmitMagnitude(const RoundedDigits& digits, const NumberFmt& fmt, Sink& sink)
{
    const std::size_t intDigits = digits.IntegerDigits();
    if (intDigits == 0) {
        if (fmt.leadingZero != 0 || digits.FractionDigits() == 0)
            sink.Put("0");
    } else {
        const GroupPlan plan(fmt.grouping);
        for (std::size_t i = 0; i < intDigits; ++i) {
            if (i > 0 && plan.SeparatorBefore(intDigits - i))
                sink.Put(fmt.thousandSep);
            const char d = digits.IntegerDigit(i);
            sink.Put(std::string_view(&d, 1));
        }
    }
    if (digits.FractionDigits() > 0) {
        sink.Put(fmt.decimalSep);
        for (std::size_t i = 0; i < digits.FractionDigits(); ++i) {
            const char d = digits.FractionDigit(i);
            sink.Put(std::string_view(&d, 1));
        }
    }
}

template <class Sink>
bool Emit(std::string_view plain, const NumberFmt& fmt, Sink& sink)
{
    RoundedDigits digits;
    if (!digits.Parse(plain, fmt.numDigits))
        return false;
    const bool negative = digits.Negative() && !digits.IsZero();
    switch (negative ? fmt.negativeOrder : -1) {
    case 0:
        sink.Put("(");
        EmitMagnitude(digits, fmt, sink);
        sink.Put(")");
        break;
    case 2:
        sink.Put("- ");
        EmitMagnitude(digits, fmt, sink);
        break;
    case 3:
        EmitMagnitude(digits, fmt, sink);
        sink.Put("-");
        break;
    case 4:
        EmitMagnitude(digits, fmt, sink);
        sink.Put(" -");
        break;
    case -1:
        EmitMagnitude(digits, fmt, sink);
        break;
    default: // 1 and every unknown order
        sink.Put("-");
        EmitMagnitude(digits, fmt, sink);
        break;
    }
    return true;
}

} // namespace

std::size_t FormatNumberText(std::string_view plain, const NumberFmt& fmt, std::span<char> out)
{
    SpanSink sink(out);
    if (!Emit(plain, fmt, sink))
        return SpanSink(out).Finish();
    return sink.Finish();
}

std::string FormatNumberText(std::string_view plain, const NumberFmt& fmt)
{
    StringSink sink;
    if (!Emit(plain, fmt, sink))
        return {};
    return sink.Take();
}
