#pragma once

#include "CaException.h"

// The edge of HSDK.dll: whatever fails inside an exported call (a malformed reply, a broken
// wire, a full memory) leaves it as CaException or as the call's own failure result, never as
// another exception type, which would end the host.
class HsdkGuard
{
public:
    // For calls whose failures reach the caller as CaException.
    template <typename Body> static auto Throwing(Body body) -> decltype(body())
    {
        try
        {
            return body();
        }
        catch (...)
        {
            Rethrow();
        }
    }

    // For calls that report every failure by their result.
    template <typename Result, typename Body> static Result Returning(Result failed, Body body)
    {
        try
        {
            return body();
        }
        catch (...)
        {
            return failed;
        }
    }

    // Throws the exception being handled as CaException, with an English text saying what
    // went wrong.
    [[noreturn]] static void Rethrow();
};
