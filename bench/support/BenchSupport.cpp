#include <windows.h>

#include "BenchSupport.h"

#include <CaHarvest.h>
#include <HsdkTesting.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "BrokerNames.h"

namespace bench_support
{
namespace
{
const int kBranchTrunkBranchesUnmerged = 273;
const int kVersionLatestInView = 0x100;
} // namespace

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

bool Admin(const std::string& request, const std::string& payload)
{
    const std::string reply = hsdk_testing::Admin(request.c_str(), payload);
    if (reply.find("\"ok\":true") != std::string::npos)
        return true;
    std::fprintf(stderr, "admin request refused by the broker at port %s: %s -> %s\n",
                 BrokerPort().c_str(), request.c_str(), reply.c_str());
    return false;
}

std::string BrokerPort()
{
    const char* port = std::getenv("HARBROKER_PORT");
    return port && *port ? port : "(default)";
}

std::string JsonPath(const std::string& viewPath)
{
    std::string quoted = "\"";
    for (const char c : viewPath)
        quoted += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return quoted + "\"";
}

bool OpenSession(CaHarvest& harvest)
{
    if (harvest.Login(VOR_DEFAULT_BROKER_1, "dev1", "dev1pw") == 0 &&
        harvest.GetContext().SetProject("QXP") && harvest.GetContext().SetState("Development") &&
        harvest.GetContext().SetPackage("QXP-001"))
        return true;
    std::fprintf(stderr, "cannot log in as dev1 to the broker at port %s\n", BrokerPort().c_str());
    return false;
}

void ChooseLatest(CaVersionChooser& chooser, const char* viewPath, const char* itemName)
{
    chooser.Clear();
    chooser.SetParentPath(viewPath);
    chooser.SetItemName(itemName);
    chooser.SetRecursive(true);
    chooser.SetBranchOption(kBranchTrunkBranchesUnmerged);
    chooser.SetVersionOption(kVersionLatestInView);
    chooser.Execute();
}

Spread SpreadOf(std::vector<double> values)
{
    if (values.empty())
        return Spread();
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    Spread spread;
    spread.median = values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    spread.least = values.front();
    spread.most = values.back();
    return spread;
}
} // namespace bench_support
