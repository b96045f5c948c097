/*
 * CorvanRIP output driver interface.
 *
 * An output driver is a shared library with the file extension ".drv" that
 * exports the C entry points declared below. The host finds drivers in its
 * Data folder, loads them with dlopen(), resolves each entry point by its
 * exact name with dlsym() and calls them from one thread (the host's user
 * interface thread), one call at a time. This header is the whole contract:
 * plain C, no host library to link against. It compiles as C11 and as C++.
 *
 * ---------------------------------------------------------------------------
 * Encodings
 * ---------------------------------------------------------------------------
 *
 * - Integers are int32_t; reals are IEEE double.
 * - Boolean results are int32_t of which the host reads only the low byte:
 *   nonzero is true. Many results are "problem" flags: true means something
 *   went wrong and the host asks the operator whether to go on.
 * - A short string (DrvShortString) is a 256-byte block: one length byte
 *   (0 to 255) followed by that many 8-bit characters; it is not terminated.
 *   A short string passed IN is the address of a 256-byte copy the host made
 *   for the call (valid only during the call). A short string passed OUT is
 *   the address of the host's zeroed 256-byte block, which the driver fills;
 *   leave a valid length byte in it even when there is nothing to say.
 * - Bitmaps travel as struct DrvBitmap pointers: 24-bit pixels in the byte
 *   order blue, green, red, rows top down, `stride` bytes per row. Whoever
 *   receives ownership of a bitmap calls its `release` (when not null) once
 *   and never touches it again.
 *
 * ---------------------------------------------------------------------------
 * Life of a driver library
 * ---------------------------------------------------------------------------
 *
 * Every load of the library, whatever for, sees
 *     Set_Plugin_Datatype(DRV_DATA_WINDOW, "<window id>")
 * first and
 *     Set_Plugin_Datatype(DRV_DATA_WINDOW, "")
 * last before it is unloaded. The window id is the host's top-level window
 * in decimal (an X11 window id or a Wayland surface handle the host owns);
 * "0" means there is no window (the command-line tool, tests): the driver
 * must then show no dialog at all and treat every dialog request as
 * accepted with its current settings.
 *
 * Listing: the host loads every *.drv of its Data folder briefly, calls
 * Query_Printer and unloads it again, without Initialize_Plugin. A library
 * that cannot be loaded or does not export Query_Printer is not listed.
 *
 * Selection: the old driver receives Finalize_Plugin and is unloaded before
 * the new library is loaded; the new one receives Initialize_Plugin and then
 * Query_Printer and Get_Plugin_Datatype 19, 20, 15, 14, 17, 18 in this
 * order. Only the selected driver ever sees Initialize_Plugin and
 * Finalize_Plugin. At program end the selected driver is unloaded without
 * Finalize_Plugin.
 *
 * Printer options / sheet sizes: Set_Plugin_Datatype 19 and 20 with the
 * host's media size, Choose_Plugin_Data(1 or 22), and when accepted the
 * selection reads (Query_Printer, data types 19, 20, 15, 14, 17, 18).
 * Queue choice: Set_Plugin_Datatype(15, index), then the selection reads.
 * New job and project load: Plugin_Load_Profile, Set_Plugin_Datatype(21,
 * "0"); no Plugin_Free_Profile follows, so accept repeated loads.
 * Gamut preview: Get_Plugin_Datatype(10), Plugin_Load_Profile,
 * Set_Plugin_Preview, then Set_Plugin_Datatype(21) and Get_GMA_Data, or
 * Choose_Plugin_Data(11); last Plugin_Free_Profile.
 * Saving settings: Get_Plugin_Data(NULL), Get_Plugin_Data(buffer).
 * Restoring: load, Set_Plugin_Data, the selection reads.
 *
 * A print run:
 *     Choose_Plugin_Data(11), Get_Plugin_Settings, Set_Plugin_Datatype(14),
 *     Get_Plugin_Datatype 17 and 18, Prepare_PrintJob, Plugin_OpenPrinter,
 *     Plugin_StartDoc, spot colour calls (Force_InkColor, Insert_SpotColor),
 *     per pass: [Force_InkColor 4 and 5 for an extra pass], Plugin_StartPage,
 *         rows (Plugin_PrintRow), Plugin_Status, Plugin_EndPage;
 *     Plugin_StartCut, Plugin_PrintVector..., Plugin_EndCut, Plugin_EndDoc,
 *     Plugin_ClosePrinter, Finalize_PrintJob, and maybe Plugin_SpoolPrintJob.
 * Plugin_ClosePrinter and Finalize_PrintJob always follow Prepare_PrintJob,
 * also after a problem the operator chose to abort on; Plugin_EndDoc always
 * follows Plugin_OpenPrinter.
 *
 * Rows: Plugin_PrintRow(p0, p1, p2, 0, srcWidth, devWidth, -1) announces a
 * new source row in the three planes (one byte per source pixel: p0 blue,
 * p1 green, p2 red); Plugin_PrintRow(..., r) with r >= 0 asks for device row
 * r, printed from the planes last announced. Rows come in increasing order;
 * a source row repeated for several device rows is announced once. The
 * driver scales each row from srcWidth to devWidth. Plugin_Status returning
 * 1 stops the rows and passes.
 *
 * Missing entry points: only Query_Printer is required. The host skips any
 * other missing entry point and uses the default result noted at each
 * declaration below, so a driver may leave out what it does not support.
 */
#ifndef CORVAN_DRIVER_ABI_H
#define CORVAN_DRIVER_ABI_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define CORVAN_DRV_EXPORT __attribute__((visibility("default")))
#else
#define CORVAN_DRV_EXPORT
#endif

#ifdef __cplusplus
#define CORVAN_DRV_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define CORVAN_DRV_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

/* ---- basic types -------------------------------------------------------- */

#define DRV_SHORT_STRING_SIZE 256
#define DRV_SHORT_STRING_MAX 255

/* Length byte first, then up to 255 characters; not zero-terminated. */
typedef uint8_t DrvShortString[DRV_SHORT_STRING_SIZE];

/* Read the low byte only: (result & 0xFF) != 0 is true. */
typedef int32_t DrvBool;

/* Largest settings blob the host stores (Get_Plugin_Data). */
#define DRV_MAX_SETTINGS_BLOB 2097152

struct DrvBitmap {
    int32_t width;  /* pixels, > 0 */
    int32_t height; /* pixels, > 0 */
    int32_t stride; /* bytes per row, >= 3 * width */
    uint8_t* bits;  /* top row first, blue, green, red per pixel */
    /* Frees the bitmap and its pixels; may be NULL for a bitmap the owner
       frees by other means (the host's own preview bitmaps). */
    void (*release)(struct DrvBitmap* bitmap);
};

/* Filled by Query_Printer. The host zeroes the block before the call. */
typedef struct TPrinterInfo {
    int32_t Reserved;           /*   0: not read; the host sets -1 when it
                                        could not call Query_Printer */
    DrvShortString Name;        /*   4: device name, shown in the driver list */
    DrvShortString Description; /* 260: device description */
    uint8_t Extra[36];          /* 516: short string of at most 35 characters,
                                        only written to the host's log */
    double PrintableWidth;      /* 552: mm */
    double PrintableLength;     /* 560: mm; 0 = roll media of no fixed length */
    uint8_t Unused[16];         /* 568: not read */
} TPrinterInfo;

CORVAN_DRV_STATIC_ASSERT(sizeof(TPrinterInfo) == 584, "TPrinterInfo is 584 bytes");
CORVAN_DRV_STATIC_ASSERT(offsetof(TPrinterInfo, Name) == 4, "Name at 4");
CORVAN_DRV_STATIC_ASSERT(offsetof(TPrinterInfo, Description) == 260, "Description at 260");
CORVAN_DRV_STATIC_ASSERT(offsetof(TPrinterInfo, Extra) == 516, "Extra at 516");
CORVAN_DRV_STATIC_ASSERT(offsetof(TPrinterInfo, PrintableWidth) == 552, "PrintableWidth at 552");
CORVAN_DRV_STATIC_ASSERT(offsetof(TPrinterInfo, PrintableLength) == 560, "PrintableLength at 560");

/* Filled by Get_Plugin_Settings. The host reads PassCount only; every other
   byte is the driver's. The host zeroes the block before the call. */
typedef struct TPluginSettings {
    uint8_t DriverData[676];
    int32_t PassCount; /* 676: colour passes of the current profile */
    uint8_t DriverData2[264];
} TPluginSettings;

CORVAN_DRV_STATIC_ASSERT(sizeof(TPluginSettings) == 944, "TPluginSettings is 944 bytes");
CORVAN_DRV_STATIC_ASSERT(offsetof(TPluginSettings, PassCount) == 676, "PassCount at 676");

/* ---- data type numbers (Set_Plugin_Datatype / Get_Plugin_Datatype) -------
   Every value is a short string: decimal text, a file path, or empty.
   Values the host reads as numbers must hold plain numbers. */
enum DrvDataType {
    DRV_DATA_PROFILE = 10,      /* get: path of the current colour profile file;
                                   "no profile" when no file exists there */
    DRV_DATA_OUTPUT_FILE = 14,  /* set/get: output file; empty = send to device */
    DRV_DATA_QUEUE = 15,        /* set/get: index of the system print queue
                                   (CUPS destinations in name order) */
    DRV_DATA_DPI_X = 17,        /* get: device resolution across, dpi */
    DRV_DATA_DPI_Y = 18,        /* get: device resolution along, dpi */
    DRV_DATA_MEDIA_WIDTH = 19,  /* set/get: media width in mm (real) */
    DRV_DATA_MEDIA_LENGTH = 20, /* set/get: media length in mm (real) */
    DRV_DATA_GAMUT = 21,        /* set: gamut method: 0 profile default,
                                   1 accurate, 2 saturation, 3 photo,
                                   4 pleasant, 5 logo */
    DRV_DATA_WINDOW = 23        /* set: host window id in decimal, "0" = no
                                   window; empty just before unloading */
};

/* ---- dialog numbers (Choose_Plugin_Data) -------------------------------- */
enum DrvDialog {
    DRV_DIALOG_PRINTER_OPTIONS = 1,
    DRV_DIALOG_COLOUR = 11, /* colour settings for the next print */
    DRV_DIALOG_SHEET_SIZES = 22,
    DRV_DIALOG_PROFILE_MANAGER = 24
};

/* ---- Force_InkColor modes: their meaning is the driver's; the host asks
   1 and 2, then sends 3, and before an extra pass 4 and 5. ---------------- */
enum DrvInkMode {
    DRV_INK_HAS_SPOT_INK = 1,
    DRV_INK_IN_NORMAL_PASS = 2,
    DRV_INK_ASSIGN = 3,
    DRV_INK_PASS_INK = 4,
    DRV_INK_PASS_COLOUR = 5
};

/* ---- entry points ------------------------------------------------------
   Each line: the name, then what the host assumes when it is missing. */

/* REQUIRED. Fill name, description and printable size. */
typedef void (*Query_Printer_fn)(TPrinterInfo* info);
/* The library became the selected driver. */
typedef void (*Initialize_Plugin_fn)(void);
typedef void (*Plugin_Load_Profile_fn)(void);
typedef void (*Plugin_Free_Profile_fn)(void);
/* The bitmap belongs to the host and dies when the call returns: copy what
   you need. mode: 500 = a preview will be requested, 0 = before the colour
   dialog. */
typedef void (*Set_Plugin_Preview_fn)(struct DrvBitmap* bitmap, int32_t mode, int32_t zero);
/* The library stops being the selected driver. */
typedef void (*Finalize_Plugin_fn)(void);
/* Make the settings equal to a blob from Get_Plugin_Data; `data` stays the
   host's. */
typedef void (*Set_Plugin_Data_fn)(const void* data, int32_t size);
/* buffer NULL: return the blob size (at most DRV_MAX_SETTINGS_BLOB).
   Otherwise fill the zeroed buffer of that size, return bytes written.
   Missing: 0. */
typedef int32_t (*Get_Plugin_Data_fn)(void* buffer);
/* Show dialog `dialog` modally; true when accepted. Missing: false. */
typedef DrvBool (*Choose_Plugin_Data_fn)(int32_t dialog);
/* Result ignored. */
typedef int32_t (*Set_Plugin_Datatype_fn)(int32_t type, const uint8_t* value);
/* Fill the short string. Missing: empty string. */
typedef void (*Get_Plugin_Datatype_fn)(int32_t type, uint8_t* value);
/* A new bitmap of the preview rendered as printed; ownership passes to the
   host, which calls release. Missing: NULL. */
typedef struct DrvBitmap* (*Get_GMA_Data_fn)(int32_t two, int32_t zero, int32_t width,
                                             int32_t height);
typedef void (*Get_Plugin_Settings_fn)(TPluginSettings* settings);
/* Problem result. Missing: false. */
typedef DrvBool (*Prepare_PrintJob_fn)(int32_t srcWidth, int32_t srcHeight, int32_t devWidth,
                                       int32_t devHeight, int32_t one, const uint8_t* jobName);
typedef void (*Finalize_PrintJob_fn)(void);
/* Pixels within RGB distance `tolerance` of (red, green, blue) print as the
   CIE L*a*b* target. */
typedef void (*Insert_SpotColor_fn)(int32_t red, int32_t green, int32_t blue, int32_t tolerance,
                                    int32_t L, int32_t a, int32_t b);
/* See DrvInkMode. Missing: false. */
typedef DrvBool (*Force_InkColor_fn)(int32_t mode, int32_t spot, int32_t red, int32_t green,
                                     int32_t blue, int32_t tolerance);
/* Send an existing print file (zero-terminated path) to the device. */
typedef int32_t (*Plugin_SpoolPrintJob_fn)(const char* path);
/* Problem results. Missing: false. */
typedef DrvBool (*Plugin_OpenPrinter_fn)(void);
typedef DrvBool (*Plugin_StartDoc_fn)(const uint8_t* title);
typedef DrvBool (*Plugin_StartPage_fn)(int32_t pass);
typedef DrvBool (*Plugin_StartCut_fn)(void);
typedef void (*Plugin_EndCut_fn)(void);
typedef void (*Plugin_EndPage_fn)(void);
typedef void (*Plugin_EndDoc_fn)(void);
typedef void (*Plugin_ClosePrinter_fn)(void);
/* Problem result. Planes stay the host's. */
typedef DrvBool (*Plugin_PrintRow_fn)(const uint8_t* plane0, const uint8_t* plane1,
                                      const uint8_t* plane2, int32_t zero, int32_t srcWidth,
                                      int32_t devWidth, int32_t row);
/* pointType: 6 = move to, 2 = line to, 4 = curve point; +1 closes the
   figure. x, y in mm from the media origin. Problem result. */
typedef DrvBool (*Plugin_PrintVector_fn)(int32_t pointType, double x, double y);
/* 1 = stop the run. Missing: 0. */
typedef int32_t (*Plugin_Status_fn)(void);
/* Resolved by the host but never called; their form is not fixed. */
typedef void (*Get_GMA_Desc_fn)(void);
typedef void (*Plugin_Rip_BMP_fn)(void);
typedef void (*Plugin_CustomEvent_fn)(void);

#ifdef __cplusplus
}
#endif

#endif /* CORVAN_DRIVER_ABI_H */
