#pragma once
// The files a transfer works with: the image "Send Mux" writes and the
// read-back the device plays into, both in the Config folder.

#include <string>

#include "model/app_paths.h"

namespace kv {

struct DeviceFiles {
    std::string AppFolder; // ends in '/'; its Config folder is made when missing
    std::string ImageFile;
    std::string ReadBackFile;
};

inline DeviceFiles DeviceFilesOf(const std::string& appFolder) {
    return {appFolder, ImageFilePath(appFolder), ReadBackFilePath(appFolder)};
}

} // namespace kv
