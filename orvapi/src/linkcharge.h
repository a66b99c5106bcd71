// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// LinkCharge: the time the accesses of one call spend on a simulated link.
#ifndef ORVSIM_LINKCHARGE_H
#define ORVSIM_LINKCHARGE_H

namespace OrvSim {

/// Counts the accesses of one client call that reach the camera and waits
/// for them when it goes: declared before the model's lock, it waits after
/// the lock is released, so other threads are not held up by the link.
class LinkCharge
{
public:
    LinkCharge() = default;
    ~LinkCharge();
    LinkCharge(const LinkCharge &) = delete;
    LinkCharge &operator=(const LinkCharge &) = delete;

    void add(double milliseconds) { m_Milliseconds += milliseconds; }

    /// A real wait: a GUI thread on a slow link is as slow as it would be.
    static void wait(double milliseconds);

private:
    double m_Milliseconds = 0;
};

} // namespace OrvSim

#endif // ORVSIM_LINKCHARGE_H
