#include <windows.h>

#include "HsdkGuard.h"

#include <cstdio>
#include <new>
#include <nlohmann/json.hpp>

namespace
{
// Composed in place: the text of a failure must not need memory of its own.
CaException Failure(const char* format, const char* detail)
{
    char text[400];
    std::snprintf(text, sizeof(text), format, detail);
    return CaException(false, text);
}
} // namespace

void HsdkGuard::Rethrow()
{
    try
    {
        throw;
    }
    catch (const CaException&)
    {
        throw;
    }
    catch (const nlohmann::json::exception& e)
    {
        throw Failure("The broker sent a malformed reply (%s).", e.what());
    }
    catch (const std::bad_alloc&)
    {
        throw CaException(false, "Out of memory.");
    }
    catch (const std::exception& e)
    {
        throw Failure("The SDK failed: %s", e.what());
    }
    catch (...)
    {
        throw CaException(false, "The SDK failed.");
    }
}
