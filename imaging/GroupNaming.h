#pragma once

#include <QString>

#include <array>

// The prefix in lower-case ASCII, as every web server and browser takes it in a URL without
// escaping: letters lose their accents (Unicode decomposition: "É" gives "e"), "ß" becomes
// "ss", and the Latin letters that have no decomposition take their usual spelling ("æ" as
// "ae", "ø" as "o"). Each run of other characters, blanks and hyphens among them, becomes one
// "-", so "Été à Paris" gives "ete-a-paris"; none is left at the start, where a name would
// read as a command-line option, but one at the end stays to set the number apart. "_" and
// the digits stay.
QString webSafePrefix(const QString& prefix);

// The names of one run's pictures: the group's prefix and its running number. Every group is
// counted first (count), then named picture by picture (next).
//
// Without web-safe names the prefix is taken as typed and the number has at least two digits,
// so from the hundredth picture on "g100" sorts before "g11". With web-safe names the prefix
// goes through webSafePrefix, and a group's numbers all have the width of its largest number,
// at least two: g001 ... g120.
class GroupNaming
{
public:
    GroupNaming(const std::array<QString, 5>& groupText, bool webSafe);

    // One more picture in group (1 to 5).
    void count(int group);
    // The name of the next picture of group (1 to 5).
    QString next(int group);
    // The prefix the names of group (1 to 5) begin with: web-safe where the names are.
    QString prefix(int group) const { return m_prefixes[size_t(group - 1)]; }

private:
    std::array<QString, 5> m_prefixes;
    const bool m_webSafe;
    std::array<int, 5> m_sizes{};
    std::array<int, 5> m_numbers{};
};
