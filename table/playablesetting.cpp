#include "playablesetting.h"

#include "profilefile.h"
#include "tablesettings.h"

bool PlayableSetting::read(const ProfileFile& file)
{
    return file.readString(QString::fromLatin1(TableSettings::kSection), QString::fromLatin1(kKey)) !=
           QLatin1String("false");
}

bool PlayableSetting::write(ProfileFile& file, bool shown)
{
    return file.writeString(QString::fromLatin1(TableSettings::kSection), QString::fromLatin1(kKey),
                            shown ? QStringLiteral("true") : QStringLiteral("false"));
}
