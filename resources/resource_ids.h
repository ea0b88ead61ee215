// Resource numbers of the Windows program's images.
#pragma once

#define IDI_MELODANE 1
#define IDB_LOGO 101
#define IDB_HELP 102
#define IDC_LOGO 103
