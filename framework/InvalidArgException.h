#pragma once

#include <exception>
#include <string>
#include <utility>

// Arguments that break the rules of the function they were passed to: the
// caller's fault, reported with a message. The standard library's own
// exception classes are not used in the product: they would bring a second
// string implementation into every executable.
class CInvalidArgException : public std::exception {
public:
    explicit CInvalidArgException(std::string message) : m_strMessage(std::move(message)) {}

    const char* what() const noexcept override { return m_strMessage.c_str(); }

private:
    std::string m_strMessage;
};
