#include "imaging/ColourTransforms.h"

#include <QCryptographicHash>

ColourConversion ColourTransforms::conversionFor(SourcePixels pixels, QByteArrayView profile)
{
    if (profile.isEmpty())
        return ColourConversion(pixels, nullptr);
    // Profiles are found by a digest of their bytes: a camera's profile can be large, and
    // the same bytes in every picture of a batch.
    Key key(pixels, QCryptographicHash::hash(profile, QCryptographicHash::Sha256));
    std::shared_ptr<Entry> entry;
    {
        const std::lock_guard lock(m_mutex);
        std::shared_ptr<Entry>& slot = m_entries[std::move(key)];
        if (!slot)
            slot = std::make_shared<Entry>();
        entry = slot;
    }
    // Built outside the lock, so pictures with other profiles need not wait for this one.
    std::call_once(entry->built,
                   [&] { entry->transform = ColourTransform::create(profile, pixels); });
    return ColourConversion(pixels, entry->transform);
}

int ColourTransforms::profilesMet() const
{
    const std::lock_guard lock(m_mutex);
    return int(m_entries.size());
}
