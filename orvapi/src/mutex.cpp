// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "OrvikCPP.h"

namespace TKN {
namespace OrvAPI {

Mutex::Mutex(bool bInitLock)
{
    if (bInitLock)
        m_Mutex.lock();
}

void Mutex::Lock()
{
    m_Mutex.lock();
}

void Mutex::Unlock()
{
    m_Mutex.unlock();
}

} // namespace OrvAPI
} // namespace TKN
