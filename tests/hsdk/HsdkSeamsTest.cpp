#include <windows.h>

#include <cstdlib>

#include "HsdkFixture.h"

// The recording and failure seams are driven by the agent and dialog tests, which compare the
// recorded calls and expect the forced failures; the trace file and the place of empty
// arguments are left to check here.
TEST_F(HsdkFixture, TraceFileGetsTheRecordedLinesWhileItIsNamed)
{
    const std::string trace = NewFolder() + "\\trace.txt";
    _putenv_s("HSDK_TRACE", trace.c_str());
    m_harvest.GetContext().GetVersionChooser().SetItemName("Main.xml");
    m_harvest.GetContext().GetPackageChooser().SetPackageName("", 0);
    _putenv_s("HSDK_TRACE", "");
    m_harvest.GetContext().GetVersionChooser().SetItemName("other");
    EXPECT_EQ("CaHarvest::GetContext()\r\nCaContext::GetVersionChooser()\r\n"
              "CaVersionChooser::SetItemName(Main.xml)\r\n"
              "CaHarvest::GetContext()\r\nCaContext::GetPackageChooser()\r\n"
              "CaPackageChooser::SetPackageName(, 0)\r\n",
              ReadFile(trace));
}
