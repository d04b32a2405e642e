#pragma once

// The operator's hosts. The .test top-level domain is reserved, so these names
// can never reach a real host; the tests serve them through a local proxy.
#define PORTAL_HOST L"www.8266.test"
#define PORTAL_HOME_URL L"http://" PORTAL_HOST L"/"
#define PASSPORT_HOST L"passport.8266.test"
#define STATS_HOST L"tj.8266tj.test"
#define STATS_URL(path) L"http://" STATS_HOST path

// Every download must come from one of these domains or a host below them.
extern const wchar_t* const kOperatorDomains[3];
