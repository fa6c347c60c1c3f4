// libFuzzer entry for the version reader: any bytes as a whole PE file. The parser
// must come back, with or without a resource, without reading outside the bytes.
#include "install/file_version_info.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto resource =
        tavi::parseVersionResource(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (resource) {
        qsizetype total = 0;
        for (const auto& s : resource->strings)
            total += s ? s->size() : 0;
        volatile qsizetype sink = total;
        (void)sink;
    }
    return 0;
}
