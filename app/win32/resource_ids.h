#pragma once
// The resources zorvan-flasher.exe carries; read by the resource compiler as well.

#define ZORVAN_IDI_PROGRAM 1
// Pictures as PNG: each at its designed size, then at twice that.
#define ZORVAN_IDP_WRITE_BUTTON 101
#define ZORVAN_IDP_WRITE_BUTTON_2X 102
#define ZORVAN_IDP_EMBLEM 103
#define ZORVAN_IDP_EMBLEM_2X 104
#define ZORVAN_IDP_MAKER_SITE 105
#define ZORVAN_IDP_MAKER_SITE_2X 106
#define ZORVAN_IDP_ABOUT 107
#define ZORVAN_IDP_ABOUT_2X 108
