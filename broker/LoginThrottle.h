#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>

class Repository;

// How repeated failed logins are slowed and then refused. A user name (any name, known or not)
// gets the counts below; a peer address, which several people may share, gets PeerFactor times
// them.
struct ThrottleConfig
{
    int freeFailures = 5;     // failures answered at once
    int lockFailures = 20;    // failures that lock the subject
    double lockSeconds = 300; // how long a lock lasts (and how long a quiet subject is remembered)
    double delaySeconds = 1;  // first delay after the free failures; doubles up to 8 times it

    static constexpr int PeerFactor = 5;
};

// Decides, before a password is checked, whether a login attempt may go ahead now, must wait
// (the broker holds the request without a thread), or is refused for a while. Failures are kept
// in the database (so they survive a restart and `harvadm` can clear them); what is in flight and
// which user has logged in successfully from which peer are kept in memory. Thread-safe; never
// sleeps.
class LoginThrottle
{
public:
    struct Decision
    {
        enum Kind
        {
            Proceed, // check the password now, then call finish()
            Hold,    // answer after `seconds` (then call admit again with `released`)
            Refuse   // throttled: try again after `seconds`
        } kind = Proceed;
        double seconds = 0;
    };

    explicit LoginThrottle(ThrottleConfig config) : m_config(config) {}

    // `released`: the attempt has already been held once; it is refused instead of held again.
    Decision admit(Repository& repository, const std::string& user, const std::string& peer,
                   bool released);
    void finish(Repository& repository, const std::string& user, const std::string& peer,
                bool success);

    static double now();

private:
    struct Subject
    {
        std::string key;
        int freeFailures;
        int lockFailures;
    };
    Subject userSubject(const std::string& user) const;
    Subject peerSubject(const std::string& peer) const;
    double delay(const Subject& subject, std::int64_t failures) const;
    double forgetAfter() const { return m_config.lockSeconds; }
    bool trusted(const std::string& user, const std::string& peer);

    const ThrottleConfig m_config;
    std::mutex m_mutex;
    std::map<std::string, int> m_inFlight;
    // (user, peer) → time of the last successful login: a guesser elsewhere cannot lock that
    // user out of the machine the user normally works on.
    std::map<std::pair<std::string, std::string>, double> m_trusted;
};
