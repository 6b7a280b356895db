#include "core/helpers/LoadFailureNotice.h"

#include "base/loop/MainThread.h"
#include "base/text/Localization.h"
#include "core/helpers/Helper.h"

namespace core {

bool LoadFailureNotice::isNetworkFailure(const base::Error& error)
{
    if (error.domain() != base::Error::URLDomain)
        return false;
    switch (error.code()) {
    case base::Error::URLTimedOut:
    case base::Error::URLCannotFindHost:
    case base::Error::URLCannotConnectToHost:
    case base::Error::URLNetworkConnectionLost:
    case base::Error::URLNotConnectedToInternet:
        return true;
    default:
        return false;
    }
}

const char* LoadFailureNotice::textKey(const base::Error* error, const char* failureKey)
{
    return error && isNetworkFailure(*error) ? "bad_netword" : failureKey;
}

std::string LoadFailureNotice::show(
    const std::shared_ptr<ui::View>& view, const base::Error* error, const char* failureKey)
{
    BASE_ASSERT_MAIN_THREAD();
    std::string text = base::localized(textKey(error, failureKey));
    Helper::showNotify(false, text, view, {});
    return text;
}

} // namespace core
