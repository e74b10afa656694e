#include "daemon/PasswordEntry.h"

#include "settings/PasswordScrambler.h"
#include "settings/SecureWipe.h"

namespace {
void Wipe(std::wstring& text)
{
    if (!text.empty())
        SecureWipe(&text[0], text.size() * sizeof(wchar_t));
    text.clear();
}
}  // namespace

CPasswordEntry::~CPasswordEntry()
{
    Clear();
}

void CPasswordEntry::Type(const std::wstring& text, DWORD nowMs)
{
    m_lastKeyMs = nowMs;
    for (wchar_t c : text)
        if (Length() < kMaxChars)
            m_typed += c;
}

void CPasswordEntry::Erase(DWORD nowMs)
{
    m_lastKeyMs = nowMs;
    if (!m_typed.empty()) {
        m_typed.back() = 0;
        m_typed.pop_back();
    }
}

void CPasswordEntry::Clear()
{
    Wipe(m_typed);
}

bool CPasswordEntry::ForgetIfIdle(DWORD nowMs)
{
    if (m_typed.empty() || nowMs - m_lastKeyMs < kForgetMs)
        return false;
    Clear();
    return true;
}

bool CPasswordEntry::TakeAndCheck(const std::string& code)
{
    std::string password(4 * kMaxChars, '\0');
    BOOL lost = FALSE;
    int bytes = m_typed.empty() ? 0
                                : ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, m_typed.data(), Length(),
                                                        &password[0], static_cast<int>(password.size()), nullptr, &lost);
    Clear();
    password.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    bool right = code.empty() || (!lost && bytes > 0);
    if (!code.empty() && right) {
        ScramblePassword(password);
        right = password == code;
    }
    SecureWipe(password);
    return right;
}
