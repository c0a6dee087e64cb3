#include <windows.h>

#include <cstdlib>

#include "HsdkFixture.h"

// The recording and failure seams are driven by the agent and dialog tests, which compare the
// recorded calls and expect the forced failures; only the trace file is left to check here.
TEST_F(HsdkFixture, TraceFileGetsTheRecordedLinesWhileItIsNamed)
{
    const std::string trace = NewFolder() + "\\trace.txt";
    _putenv_s("HSDK_TRACE", trace.c_str());
    m_harvest.GetContext().GetVersionChooser().SetItemName("Main.xml");
    _putenv_s("HSDK_TRACE", "");
    m_harvest.GetContext().GetVersionChooser().SetItemName("other");
    EXPECT_EQ("CaHarvest::GetContext()\r\nCaContext::GetVersionChooser()\r\n"
              "CaVersionChooser::SetItemName(Main.xml)\r\n",
              ReadFile(trace));
}
