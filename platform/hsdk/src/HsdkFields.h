#pragma once

#include <nlohmann/json.hpp>
#include <string>

// Checked reading of the broker's frames: a field of the wrong type throws CaException naming
// the field, so that a broken or hostile broker is reported instead of trusted.
class HsdkFields
{
public:
    // A list the frame must hold.
    static const nlohmann::json& List(const nlohmann::json& frame, const char* key);
    // A text in UTF-8; empty when absent or null.
    static std::string Text(const nlohmann::json& frame, const char* key);
    // An integer the frame must hold.
    static long long Integer(const nlohmann::json& frame, const char* key);
    static long long Integer(const nlohmann::json& frame, const char* key, long long absent);
    static bool Flag(const nlohmann::json& frame, const char* key, bool absent);
    // The "ok" of a reply: false when absent.
    static bool IsOk(const nlohmann::json& reply);
    // Each element of a list the frame must hold is a text.
    static const nlohmann::json& Texts(const nlohmann::json& frame, const char* key);

private:
    static const nlohmann::json* Find(const nlohmann::json& frame, const char* key);
    // Without expected: the frame holding the key is no object.
    [[noreturn]] static void Malformed(const char* key, const char* expected);
};
