/* Compiles the driver interface as strict C11: a third-party driver author
   includes nothing else. The entry points below must match the typedefs. */
#include "driver_abi.h"

#include <string.h>

CORVAN_DRV_EXPORT void Query_Printer(TPrinterInfo* info) {
    static const char name[] = "C check";
    info->Name[0] = (uint8_t)(sizeof name - 1);
    memcpy(info->Name + 1, name, sizeof name - 1);
    info->PrintableWidth = 100.0;
    info->PrintableLength = 0.0;
}

CORVAN_DRV_EXPORT DrvBool Plugin_PrintRow(const uint8_t* p0, const uint8_t* p1, const uint8_t* p2,
                                          int32_t zero, int32_t srcWidth, int32_t devWidth,
                                          int32_t row) {
    (void)p0;
    (void)p1;
    (void)p2;
    (void)zero;
    (void)srcWidth;
    (void)devWidth;
    (void)row;
    return 0;
}

/* The declarations agree with the typedefs (a mismatch fails to compile). */
static const Query_Printer_fn check_query = &Query_Printer;
static const Plugin_PrintRow_fn check_row = &Plugin_PrintRow;

int corvan_abi_check_used(void) {
    return check_query != 0 && check_row != 0;
}
