// The sample panel's identifiers. A control's identifier is the script line it runs.
#define IDS_NETWORKMESSAGE 32400
#define IDS_PANEL_NAME     32700
#define IDS_PANEL_VERSION  32701
#define IDS_PANEL_DATE     32702
#define IDS_PANEL_AUTHOR   32703

#define IDD_SOURCES        1
#define IDD_MORE           2

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
