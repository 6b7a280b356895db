// The fault control route of TrackingService: scripts and end-to-end tests set and lift faults while the
// service runs. Only a peer on this machine may use it; the route is neither logged nor faulted itself.
#include "tracking-service/DeadlineServer.h"
#include "tracking-service/FaultText.h"
#include "tracking-service/TrackingService.h"

#include <httplib.h>

namespace tracking_service {

namespace {

    bool isLoopbackAddress(std::string_view address)
    {
        if (address.starts_with("::ffff:"))
            address.remove_prefix(7);
        return address.starts_with("127.") || address == "::1";
    }

    // False, with a refusal answered, when the peer is not on this machine.
    bool admitted(const httplib::Request& request, httplib::Response& response)
    {
        if (isLoopbackAddress(request.remote_addr))
            return true;
        response.status = 403;
        response.set_content("Faults are taken from this machine only.\n", "text/plain");
        return false;
    }

} // namespace

void TrackingService::routeFaultControl()
{
    m_server->Post(FaultControlPath, [this](const httplib::Request& request, httplib::Response& response) {
        if (!admitted(request, response))
            return;
        std::string error;
        auto faultText = FaultText::parse(request.body, &error);
        if (!faultText) {
            response.status = 400;
            response.set_content(error + "\n", "text/plain");
            return;
        }
        m_faults.set(faultText->endpoint, std::move(faultText->fault));
        response.set_content("set\n", "text/plain");
    });
    m_server->Delete(FaultControlPath, [this](const httplib::Request& request, httplib::Response& response) {
        if (!admitted(request, response))
            return;
        if (request.has_param("endpoint"))
            m_faults.remove(request.get_param_value("endpoint"));
        else
            m_faults.clear();
        response.set_content("lifted\n", "text/plain");
    });
}

} // namespace tracking_service
