#pragma once

#include <stdexcept>
#include <string>

// A request that cannot be served; the code travels to the client as the reply's "code".
class BrokerError : public std::runtime_error
{
public:
    BrokerError(std::string code, const std::string& text)
        : std::runtime_error(text), m_code(std::move(code))
    {
    }
    const std::string& code() const { return m_code; }

private:
    std::string m_code;
};
