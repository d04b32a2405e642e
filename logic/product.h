#pragma once

#define PRODUCT_VERSION_ANSI "3.0.1.2"
#define PRODUCT_VERSION_TEXT L"3.0.1.2"
#define PRODUCT_VERSION_RC 3, 0, 1, 2
#define PRODUCT_TITLE L"8266青砚行记"
