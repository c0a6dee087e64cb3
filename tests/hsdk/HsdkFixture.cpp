#include <windows.h>

#include "HsdkFixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

void HsdkFixture::SetUp()
{
    if (!HasBroker())
        GTEST_SKIP() << "no broker (HARBROKER_PORT is not set)";
    LogIn(m_harvest, "dev1", "dev1pw");
    MessageSink::s_messages.clear();
}

bool HsdkFixture::HasBroker()
{
    return std::getenv("HARBROKER_PORT") != nullptr;
}

void HsdkFixture::LogIn(CaHarvest& harvest, const char* user, const char* password,
                        const char* broker)
{
    ASSERT_EQ(0, harvest.Login(broker, user, password));
    CaContext& context = harvest.GetContext();
    ASSERT_TRUE(context.SetProject("QXP"));
    ASSERT_TRUE(context.SetState("Development"));
    ASSERT_TRUE(context.SetPackage("QXP-001"));
}

std::string HsdkFixture::FailureOf(const std::function<void()>& call)
{
    try
    {
        call();
    }
    catch (const CaException& e)
    {
        return e.GetText();
    }
    return "no failure";
}

std::string HsdkFixture::NewFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    for (DWORD n = GetTickCount();; ++n)
    {
        const std::string folder = std::string(temp) + "hsdk-" + std::to_string(n);
        if (CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS)
            return folder;
    }
}

std::string HsdkFixture::ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void HsdkFixture::WriteFile(const std::string& path, const std::string& bytes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(path, std::ios::binary) << bytes;
}

bool HsdkFixture::IsReadOnly(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

std::string HsdkFixture::ComputerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof(name);
    GetComputerNameA(name, &size);
    return name;
}

std::vector<std::string> HsdkFixture::Names(const CaContainer& container, const char* key)
{
    std::vector<std::string> names;
    for (int i = 0; i < container.GetKeyElementCount(key); ++i)
        names.push_back(static_cast<const char*>(container.Props(key, i)));
    return names;
}

void MessageSink::OnMessage(int index, void* process, void*, CaContainer* message)
{
    ReceivedMessage received{index, process, "", {}};
    received.key = static_cast<const char*>(message->Props("_HEM_MsgKey", 0));
    for (int i = 0; i < message->GetKeyElementCount("_HEM_MsgArg"); ++i)
    {
        const CaData argument = message->Props("_HEM_MsgArg", i);
        EXPECT_EQ(2, argument.GetType());
        received.args.push_back(static_cast<const char*>(argument));
    }
    s_messages.push_back(received);
}
