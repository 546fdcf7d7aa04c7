#pragma once

namespace Lattix {

// A date and time as days since 30 December 1899 (the fraction is the time of day), with
// a status that tells whether it holds a value.
struct CDateTime
{
    enum Status
    {
        Valid = 0,
        Invalid = 1,
        Null = 2,
    };

    double m_dt = 0.0;
    Status m_status = Null;

    friend bool operator==(const CDateTime&, const CDateTime&) = default;
};

} // namespace Lattix
