// The program's one error type. It carries the fixed English messages
// that name the failing class or routine, exactly as they are shown to the
// user in the error box.
#pragma once

#include <stdexcept>
#include <string>

class EGlimmoraError : public std::runtime_error {
public:
    explicit EGlimmoraError(const std::string& Message) : std::runtime_error(Message) {}
};
