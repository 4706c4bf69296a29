#pragma once
#include "platform/HttpTransport.h"

// HTTP through WinHTTP. The user's proxy settings are honoured the way Windows programs do:
// an automatic configuration script or automatic detection first, then a fixed proxy with its
// bypass list, else a direct connection. The automatic ways are waited for no longer than the
// request's own time-out; what detection found serves until a request fails or half an hour passes.
class WinHttpTransport : public HttpTransport {
public:
    HttpGetResult Get(const HttpGetRequest& request) override;
};
