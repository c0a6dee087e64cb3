#pragma once

class Repository;

// The repository that the demo and the tests start from, described in SAMPLE.md.
class SampleRepository
{
public:
    // Fills an empty repository; throws when it already holds data.
    static void create(Repository& repository);
};
