#include "LoginThrottle.h"

#include "Repository.h"
#include "Transaction.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace
{

constexpr double TrustSeconds = 30 * 24 * 3600.0;
constexpr std::size_t MaxTrusted = 10000;

} // namespace

double LoginThrottle::now()
{
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

LoginThrottle::Subject LoginThrottle::userSubject(const std::string& user) const
{
    return {"user:" + user, m_config.freeFailures, m_config.lockFailures};
}

LoginThrottle::Subject LoginThrottle::peerSubject(const std::string& peer) const
{
    return {"peer:" + peer, m_config.freeFailures * ThrottleConfig::PeerFactor,
            m_config.lockFailures * ThrottleConfig::PeerFactor};
}

double LoginThrottle::delay(const Subject& subject, std::int64_t failures) const
{
    const std::int64_t over = std::clamp<std::int64_t>(failures - subject.freeFailures, 0, 3);
    return m_config.delaySeconds * static_cast<double>(1 << over);
}

bool LoginThrottle::trusted(const std::string& user, const std::string& peer)
{
    const auto found = m_trusted.find({user, peer});
    return found != m_trusted.end() && found->second + TrustSeconds > now();
}

LoginThrottle::Decision LoginThrottle::admit(Repository& repository, const std::string& user,
                                             const std::string& peer, bool released)
{
    const double at = now();
    std::vector<std::pair<Subject, LoginFailures>> counted;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!trusted(user, peer))
            counted.push_back({userSubject(user), {}});
    }
    counted.push_back({peerSubject(peer), {}});
    for (auto& [subject, failures] : counted)
        if (const auto row = repository.loginFailures(subject.key, at, forgetAfter()))
            failures = *row;

    Decision decision;
    for (const auto& [subject, failures] : counted)
        if (failures.lockedUntil > at)
            decision = {Decision::Refuse, std::max(decision.seconds, failures.lockedUntil - at)};
    if (decision.kind == Decision::Refuse)
        return decision;

    std::lock_guard<std::mutex> lock(m_mutex);
    double wait = 0;
    for (const auto& [subject, failures] : counted)
    {
        const auto flying = m_inFlight.find(subject.key);
        const int inFlight = flying == m_inFlight.end() ? 0 : flying->second;
        if (failures.failures + inFlight < subject.freeFailures)
            continue;
        // Slowed: one check at a time, each at least the delay after the last failure.
        const double pause = delay(subject, failures.failures);
        double next = failures.last + pause;
        if (inFlight > 0)
            next = std::max(next, at + pause);
        wait = std::max(wait, next - at);
    }
    if (wait > 0)
        return {released ? Decision::Refuse : Decision::Hold, wait};
    ++m_inFlight[userSubject(user).key];
    ++m_inFlight[peerSubject(peer).key];
    return {Decision::Proceed, 0};
}

void LoginThrottle::finish(Repository& repository, const std::string& user, const std::string& peer,
                           bool success)
{
    const Subject subjects[] = {userSubject(user), peerSubject(peer)};
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const Subject& subject : subjects)
        {
            const auto flying = m_inFlight.find(subject.key);
            if (flying != m_inFlight.end() && --flying->second <= 0)
                m_inFlight.erase(flying);
        }
        if (success)
        {
            if (m_trusted.size() >= MaxTrusted)
            {
                const double at = now();
                for (auto i = m_trusted.begin(); i != m_trusted.end();)
                    i = i->second + TrustSeconds < at ? m_trusted.erase(i) : std::next(i);
                if (m_trusted.size() >= MaxTrusted)
                    m_trusted.clear();
            }
            m_trusted[{user, peer}] = now();
        }
    }
    if (success)
        return;
    // A short write transaction of its own; nothing waits on the peer while it is open.
    Transaction transaction(repository.db());
    const double at = now();
    for (const Subject& subject : subjects)
    {
        if (repository.recordLoginFailure(subject.key, at, subject.lockFailures,
                                          m_config.lockSeconds, forgetAfter()))
            std::fprintf(stderr, "harbroker: login of %s locked for %g s after %d failures\n",
                         subject.key.c_str(), m_config.lockSeconds, subject.lockFailures);
    }
    transaction.commit();
}
