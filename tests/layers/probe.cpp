// Compiled against one library's usage requirements only, with PROBE_INCLUDE naming a header from a
// layer that library must not see. The include has to fail: see CMakeLists.txt beside this file.
#include PROBE_INCLUDE

int morluLayerProbe()
{
    return 0;
}
