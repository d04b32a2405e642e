#pragma once

#define IDR_MAINFRAME 128
#define IDI_PORTAL 200
