#include "daemon/KeyTranslator.h"

#include "settings/SecureWipe.h"

namespace {
const BYTE kDown = 0x80, kToggled = 0x01;

// The generic modifier that a left or right one counts for.
DWORD Generic(DWORD key)
{
    switch (key) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return 0;
    }
}
}  // namespace

CKeyTranslator::CKeyTranslator(bool capsLock, bool numLock)
{
    m_state[VK_CAPITAL] = capsLock ? kToggled : 0;
    m_state[VK_NUMLOCK] = numLock ? kToggled : 0;
}

CKeyTranslator::~CKeyTranslator()
{
    SecureWipe(m_state, sizeof(m_state));
}

void CKeyTranslator::Track(const KeyEvent& key)
{
    BYTE& state = m_state[key.virtualKey & 0xFF];
    if (key.down && !(state & kDown) && (key.virtualKey == VK_CAPITAL || key.virtualKey == VK_NUMLOCK))
        state ^= kToggled;
    state = static_cast<BYTE>(key.down ? state | kDown : state & ~kDown);
    if (DWORD generic = Generic(key.virtualKey)) {
        DWORD left = generic == VK_SHIFT ? VK_LSHIFT : generic == VK_CONTROL ? VK_LCONTROL : VK_LMENU;
        bool either = (m_state[left] | m_state[left + 1]) & kDown;
        m_state[generic] = either ? kDown : 0;
    }
}

LockKey CKeyTranslator::Translate(const KeyEvent& key)
{
    Track(key);
    if (!key.down)
        return {};
    switch (key.virtualKey) {
    case VK_RETURN:
        return {LockKey::enter, {}};
    case VK_BACK:
        return {LockKey::erase, {}};
    case VK_ESCAPE:
        return {LockKey::clear, {}};
    }
    // Ctrl or Alt with a key types nothing, except AltGr (both at once).
    bool ctrl = m_state[VK_CONTROL] & kDown, alt = m_state[VK_MENU] & kDown;
    if (ctrl != alt)
        return {};
    wchar_t typed[8];
    int count = ::ToUnicodeEx(key.virtualKey, key.scanCode, m_state, typed, 8, 0, ::GetKeyboardLayout(0));
    LockKey result;
    if (count > 0) {
        result.kind = LockKey::typed;
        for (int i = 0; i < count; ++i)
            if (typed[i] >= L' ')
                result.text += typed[i];
        if (result.text.empty())
            result.kind = LockKey::none;
    }
    SecureWipe(typed, sizeof(typed));
    return result;
}
