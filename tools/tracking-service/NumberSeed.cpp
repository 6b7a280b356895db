#include "tracking-service/DemoData.h"
#include "tracking-service/LaneSeeds.h"
#include "tracking-service/ServiceStore.h"

namespace tracking_service {

// The demo devices come with their family, SOS, key and listen numbers; the Morvik tracker also keeps a
// listen and a centre number, and the Quenn tracker of type 3 a centre number.
void seedNumber(ServiceStore& store, const DemoSeed&)
{
    (void)store.setDetailFields(DemoData::MorvikSerialNumber,
        { { "ParvoDevice_Config", "ListenNum", base::Value("13700137003") },
            { "ParvoDevice_Config", "CenterNum", base::Value("13700137000") } });
    (void)store.setDetailFields(
        DemoData::Quenn3SerialNumber, { { "Quenn_DeviceConfig", "CenterNum", base::Value("13600100300") } });
}

} // namespace tracking_service
