// The serials of the file tree's drives: read when a removable or disc drive is opened (a drive
// whose volume does not answer has no medium) and when a drive's item is selected, and kept per
// drive.
#include "util/window/TreeFileCtrl.h"

bool CTreeFileCtrl::CanAccessDrive(const std::string& path)
{
    if (CanMonitor(path))
        return true;
    return ReadVolumeSerial(DriveOfPath(mounts_, path));
}

std::optional<unsigned long long> CTreeFileCtrl::GetVolumeSerial(const std::string& path)
{
    return VolumeSerial(path);
}

bool CTreeFileCtrl::ReadVolumeSerial(const std::string& drive)
{
    if (drive.empty())
        return false; // a path on no drive has no entry
    const std::optional<unsigned long long> serial = GetVolumeSerial(drive);
    serials_[drive] = serial.value_or(kNoVolumeSerial);
    return serial.has_value();
}

unsigned long long CTreeFileCtrl::StoredVolumeSerial(const std::string& path) const
{
    const auto entry = serials_.find(DriveOfPath(mounts_, path));
    return entry != serials_.end() ? entry->second : kNoVolumeSerial;
}
