// libFuzzer target: arbitrary bytes as each XML file the application reads
// (settings, time offset, profile, project). No reader may crash, overflow
// its stack on deep nesting or run away, and what they accept must hold
// together: an offset is finite and within the offset field's range, and a
// project selects only parameters the profile has.
#include "FuzzSupport.h"
#include "Profile.h"
#include "Project.h"
#include "Property.h"
#include "Record.h"

#include <QString>

#include <cmath>
#include <cstdint>

using fuzzsupport::check;
using fuzzsupport::writeBytes;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The offset reader looks for this name in the record folder; the
    // others read it under the same name.
    const QString path = fuzzsupport::folder()->path() + "/Offset.xml";
    writeBytes(path, data, size);

    KAVO::Property* settings = KAVO::Property::instance();
    settings->clear();
    check(settings->readXmlFile(path.toStdString()));

    KAVO::Record record;
    record.setRecordDirectory(fuzzsupport::folder()->path());
    record.loadOffset();
    const double offset = record.recordData().offset;
    check(std::isfinite(offset) && std::fabs(offset) <= KAVO::Record::OffsetLimit);

    KAVO::Profile* profile = KAVO::Profile::instance();
    const bool isProfile = profile->loadProfile(path);
    if (!isProfile)
        check(profile->data().mDevices.empty());

    if (KAVO::Project::instance()->readProject(path)) {
        for (const auto& device : profile->data().mDevices)
            for (const auto& p : device.second.mParameters)
                check(!p.second.mSelected ||
                      KAVO::Project::instance()->names().count(p.second.mFullName.toUtf8().toStdString()) == 1);
    }
    return 0;
}
