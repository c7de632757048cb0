#pragma once

#include "imaging/ColourConversion.h"

#include <QByteArray>

#include <map>
#include <mutex>
#include <utility>

// The colour transforms of one run, one per distinct embedded profile, so that a batch from
// one camera pays for its profile once. Render threads may ask for conversions at the same
// time; a profile is built by the first thread that needs it while the others wait for it.
class ColourTransforms
{
public:
    // The conversion for a picture with these pixels and this embedded profile (empty when
    // the picture has none). A damaged profile gives the conversion of a picture without one.
    ColourConversion conversionFor(SourcePixels pixels, QByteArrayView profile);

    // How many distinct profiles this run has met, usable or not.
    int profilesMet() const;

private:
    struct Entry
    {
        std::once_flag built;
        std::shared_ptr<const ColourTransform> transform;
    };
    using Key = std::pair<SourcePixels, QByteArray>;

    mutable std::mutex m_mutex;
    std::map<Key, std::shared_ptr<Entry>> m_entries;
};
