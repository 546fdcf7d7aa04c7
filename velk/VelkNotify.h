#pragma once

#include <QWidget>

#include <cstdint>

// The header that every notification of this library's controls carries: the sender, the
// sender's control id and the code (the platform's notification header).
struct VelkNMHDR
{
    QWidget* hwndFrom = nullptr;
    int idFrom = 0;
    int code = 0;
};

// The record of a spin step: the header, then the position and the delta (the platform's
// up-down notification record). Receivers read it when the code is UDN_DELTAPOS.
struct VelkNMUPDOWN
{
    VelkNMHDR hdr;
    int iPos = 0;
    int iDelta = 0;
};

// Implemented by a window that wants the notifications of its controls. The result is the
// notification's result (non-zero cancels where a code allows that).
class CVelkNotifyTarget
{
public:
    virtual std::intptr_t OnVelkNotify(VelkNMHDR& header) = 0;

protected:
    ~CVelkNotifyTarget() = default;
};

// Sends the notification to receiver when it implements CVelkNotifyTarget; 0 otherwise.
inline std::intptr_t SendVelkNotify(QWidget* receiver, VelkNMHDR& header)
{
    auto* target = dynamic_cast<CVelkNotifyTarget*>(receiver);
    return target ? target->OnVelkNotify(header) : 0;
}
