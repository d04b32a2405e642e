#pragma once
#include <cstdint>
#include <vector>

// A game page and its tab label reach the primary window separately: the
// login process first offers its login key, which becomes the label, and
// only later attaches its game window. Accepted labels wait in the order they
// came; this decides which waiting label an attaching page takes, and which
// labels go when a login process ends without a page, so that labels and
// pages stay paired.
//
// The sender of a label is not known. It is one of the logins started up to
// the newest one running when the label came; that newest login is kept as
// the label's guess. Logins running one at a time are thus paired exactly;
// for overlapping ones the rules assume that keys come in the order the
// logins were started. Logins are told apart by process id.
class LabelMatcher {
public:
    void LoginStarted(uint32_t login);
    // Appended as the newest waiting label.
    void LabelAccepted();
    // The waiting label that the page of this process takes (it leaves the
    // queue), or -1 when there is none.
    int PageAttached(uint32_t login);
    // A login process ended without attaching a page. Returns the waiting
    // labels to drop, each an index into the queue as it stands after the
    // drops before it.
    std::vector<int> LoginEnded(uint32_t login);

    int WaitingLabels() const { return static_cast<int>(m_guesses.size()); }
    bool Idle() const { return m_logins.empty() && m_guesses.empty(); }

private:
    struct Login {
        uint32_t id;
        uint32_t order; // 1 for the first login started, and so on
    };

    // Removes a running login; its start order, or 0 when it was not running.
    uint32_t Forget(uint32_t login);
    int NewestGuessedAs(uint32_t order) const;
    // The smallest start order up to which more labels wait than logins run
    // that could have sent them, or 0 when there is none.
    uint32_t Overcrowded() const;

    std::vector<Login> m_logins;     // started, neither ended nor attached
    std::vector<uint32_t> m_guesses; // per waiting label: start order of its guess, 0 if none
    uint32_t m_nextOrder = 1;
};
