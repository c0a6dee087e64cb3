#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CaHarvest;
class CaVersionChooser;

// What the Windows benchmarks share: a clock, repository seeding through admin requests, an
// SDK session of their own, and the spread of a figure over runs.
namespace bench_support
{
// Milliseconds on the performance counter.
double Now();

// Sends one admin request (with the file bytes some carry) to the broker at HARBROKER_PORT;
// false, the request and the reply on stderr, when it is refused.
bool Admin(const std::string& request, const std::string& payload = std::string());
// The broker's port for messages: HARBROKER_PORT, or "(default)".
std::string BrokerPort();
// A view path as a JSON string, quotes included.
std::string JsonPath(const std::string& viewPath);

// Logs a session of the bench's own in as dev1 in QXP / Development / QXP-001; false, said on
// stderr, when refused.
bool OpenSession(CaHarvest& harvest);
// Chooses the latest version (the reservation while one is held) of the items named itemName
// in the folder and every folder below it, as the agent chooses a file's latest version.
void ChooseLatest(CaVersionChooser& chooser, const char* viewPath, const char* itemName);

// Median and range of a figure over runs.
struct Spread
{
    double median = 0;
    double least = 0;
    double most = 0;
};
Spread SpreadOf(std::vector<double> values);
} // namespace bench_support
