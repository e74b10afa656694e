#include "daemon/DaemonCommand.h"

#include <cstdlib>

namespace {
const char kGuard[] = "/guard", kLock[] = "/lock";

// Skips the program name, quoted or not, and the blanks after it.
const char* Arguments(const char* commandLine)
{
    const char* at = commandLine;
    if (*at == '"') {
        do
            ++at;
        while (*at != '\0' && *at != '"');
        if (*at == '"')
            ++at;
    } else {
        while (*at != '\0' && *at != ' ' && *at != '\t')
            ++at;
    }
    while (*at == ' ' || *at == '\t')
        ++at;
    return at;
}

bool ReadHandle(const char*& at, HANDLE& handle)
{
    while (*at == ' ')
        ++at;
    char* end = nullptr;
    unsigned long value = std::strtoul(at, &end, 10);
    if (end == at || value == 0)
        return false;
    at = end;
    handle = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(value));
    return true;
}
}  // namespace

DaemonCommand ParseDaemonCommand(const char* commandLine)
{
    DaemonCommand command;
    const char* at = Arguments(commandLine != nullptr ? commandLine : "");
    if (*at == '\0')
        return command;
    std::string arguments(at);
    size_t roleLength = arguments.find(' ');
    std::string role = arguments.substr(0, roleLength);
    command.role = role == kGuard ? DaemonRole::guard : role == kLock ? DaemonRole::lock : DaemonRole::invalid;
    if (command.role == DaemonRole::invalid || roleLength == std::string::npos)
        return {DaemonRole::invalid};
    at += roleLength;
    if (!ReadHandle(at, command.record) || !ReadHandle(at, command.peer))
        return {DaemonRole::invalid};
    while (*at == ' ')
        ++at;
    if (*at != '\0')
        return {DaemonRole::invalid};
    return command;
}

std::string DaemonArguments(const DaemonCommand& command)
{
    auto number = [](HANDLE handle) { return std::to_string(reinterpret_cast<UINT_PTR>(handle)); };
    return std::string(command.role == DaemonRole::guard ? kGuard : kLock) + " " + number(command.record) + " " +
           number(command.peer);
}
