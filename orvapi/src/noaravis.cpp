// Built without Aravis: no provider for it.
#include "cameraprovider.h"

namespace OrvSim {

std::unique_ptr<CameraProvider> makeAravisProvider(const std::string &)
{
    return nullptr;
}

} // namespace OrvSim
