// The sample panel's identifiers. A control's identifier is the script line it runs.
#define IDS_NETWORKMESSAGE 32400
#define IDS_PANEL_NAME     32700
#define IDS_PANEL_VERSION  32701
#define IDS_PANEL_DATE     32702
#define IDS_PANEL_AUTHOR   32703

#define IDD_SOURCES        1
#define IDD_MORE           2
#define IDD_ROUTER         3
#define IDD_PERIPHERALS    4

#define IDC_SOURCE_1       1001
#define IDC_SOURCE_2       1002
#define IDC_SOURCE_3       1003
#define IDC_SOURCE_4       1004
#define IDC_FADER          1101
#define IDC_MORE           1201
#define IDC_CLOSE_MORE     1202
#define IDC_LOCK           1301
#define IDC_DESTINATIONS   1401
#define IDC_MODE           1402
#define IDC_PRINT          1403
#define IDC_MATCHES        2005
#define IDC_DESTINATION    2006
#define IDC_FILTER         3101
#define IDC_ON_AIR         2001
#define IDC_FADER_MOVES    2002
#define IDC_CLOCK          2003
#define IDC_DATE           2004

// The router panel: router 12, a GPI device (30), an infodriver slot at NXI (40) and an
// infodriver program connected directly (50).
#define IDC_DEST_1         5001
#define IDC_DEST_2         5002
#define IDC_DEST_3         5003
#define IDC_DEST_4         5004
#define IDC_SRC_1          5201
#define IDC_SRC_2          5202
#define IDC_SRC_3          5203
#define IDC_SRC_4          5204
#define IDC_SRC_5          5205
#define IDC_SRC_6          5206
#define IDC_SRC_7          5207
#define IDC_SRC_8          5208
#define IDC_GPI_ON         5401
#define IDC_GPI_OFF        5402
#define IDC_TALLY          5403
#define IDC_DRIVER_WRITE   5404
#define IDC_TALLY_1        3201
#define IDC_TALLY_2        3202
#define IDC_TALLY_3        3203
#define IDC_TALLY_4        3204
#define IDC_SELECTED       3299
#define IDC_GPI_STATE      3301
#define IDC_SLOT_STATE     3302
#define IDC_DRIVER_STATE   3303

// The peripherals panel: a video overlay, a wave file played with a tally when it has
// played, two under-monitor displays on chain 1, and the keys captured from the keyboard.
#define IDC_OVERLAY        2501
#define IDC_PLAY           2601
#define IDC_PLAYED         2610
#define IDC_UMD_CAM_1      2701
#define IDC_UMD_CAM_2      2702
#define IDC_KEY_SEEN       2810
