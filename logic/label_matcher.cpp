#include "label_matcher.h"

#include <cstddef>

void LabelMatcher::LoginStarted(uint32_t login)
{
    Forget(login);
    m_logins.push_back(Login{login, m_nextOrder++});
}

void LabelMatcher::LabelAccepted()
{
    m_guesses.push_back(m_logins.empty() ? 0 : m_logins.back().order);
}

int LabelMatcher::PageAttached(uint32_t login)
{
    const uint32_t order = Forget(login);
    if (m_guesses.empty())
        return -1;
    // A login's own key is the newest label that came while it was the
    // newest login; failing that, pages attach in the order their keys came.
    int taken = order ? NewestGuessedAs(order) : -1;
    if (taken < 0)
        taken = 0;
    m_guesses.erase(m_guesses.begin() + taken);
    return taken;
}

std::vector<int> LabelMatcher::LoginEnded(uint32_t login)
{
    std::vector<int> dropped;
    const uint32_t ended = Forget(login);
    if (!ended)
        return dropped;
    // Each waiting label belongs to a login that may still attach. Where more
    // labels wait than such logins, the ended login's label is among them:
    // the newest one guessed as that login, else the oldest that came after
    // it started.
    for (uint32_t limit = Overcrowded(); limit; limit = Overcrowded()) {
        int victim = NewestGuessedAs(ended);
        for (int k = 0; victim < 0 && k < WaitingLabels(); ++k) {
            if (m_guesses[k] >= ended && m_guesses[k] <= limit)
                victim = k;
        }
        for (int k = 0; victim < 0 && k < WaitingLabels(); ++k) {
            if (m_guesses[k] <= limit)
                victim = k;
        }
        m_guesses.erase(m_guesses.begin() + victim);
        dropped.push_back(victim);
    }
    return dropped;
}

uint32_t LabelMatcher::Forget(uint32_t login)
{
    for (std::size_t i = 0; i < m_logins.size(); ++i) {
        if (m_logins[i].id == login) {
            const uint32_t order = m_logins[i].order;
            m_logins.erase(m_logins.begin() + static_cast<long>(i));
            return order;
        }
    }
    return 0;
}

int LabelMatcher::NewestGuessedAs(uint32_t order) const
{
    for (int k = WaitingLabels() - 1; k >= 0; --k) {
        if (m_guesses[k] == order)
            return k;
    }
    return -1;
}

uint32_t LabelMatcher::Overcrowded() const
{
    uint32_t smallest = 0;
    for (uint32_t limit : m_guesses) {
        if (smallest && limit >= smallest)
            continue;
        std::size_t labels = 0;
        std::size_t logins = 0;
        for (uint32_t g : m_guesses)
            labels += g <= limit ? 1 : 0;
        for (const Login& l : m_logins)
            logins += l.order <= limit ? 1 : 0;
        if (labels > logins)
            smallest = limit;
    }
    return smallest;
}
