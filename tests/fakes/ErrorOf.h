// The message of the EGlimmoraError a call raises; "" when it raises none.
#pragma once

#include <string>

#include "gl/Errors.h"

template <class F>
std::string ErrorOf(F&& Call)
{
    try {
        Call();
    } catch (const EGlimmoraError& E) {
        return E.what();
    }
    return "";
}
