/* Resource and control ids of the main dialog; included by the resource scripts and by
   the program. */
#ifndef CHARTXFER_RESOURCE_H
#define CHARTXFER_RESOURCE_H

#define IDD_MAIN 101
#define IDI_MAIN 104
#define IDI_SECOND 109

#define IDC_SOURCE_DRIVE 1000
#define IDC_SOURCE_LIST 1001
#define IDC_DEST_DRIVE 1002
#define IDC_DEST_LIST 1003
#define IDC_UNTIL_EDIT 1008
#define IDC_UNTIL_CHECK 1009
#define IDC_AT_EDIT 1010
#define IDC_AT_CHECK 1011
#define IDC_SINCE_CHECK 1012
#define IDC_SINCE_EDIT 1013
#define IDC_COPY 1014
#define IDC_MOVE 1015
#define IDC_SYSTEM 1016
#define IDC_NAME_CHECK 1017
#define IDC_NAME_EDIT 1018
#define IDC_DELETE 1019
#define IDC_ALL 1020
#define IDC_COMPARE 1023
#define IDC_SORT_NAME 1024
#define IDC_SORT_DATE 1025
#define IDC_REFRESH 1027

/* Hidden static controls whose texts are the program's messages and captions. */
#define IDM_SAME_DRIVE 1029
#define IDM_CAPTION_ATTENTION 1030
#define IDM_CAPTION_FILES 1031
#define IDM_ASK_DELETE 1032
#define IDM_ASK_MOVE 1033
#define IDM_ASK_COPY 1034
#define IDM_CAPTION_DISK 1035
#define IDM_DISK_DEST 1036
#define IDM_DISK_SOURCE 1037
#define IDM_DISK_NOT_READY 1038
#define IDM_ASK_CREATE_DIRS 1039
#define IDM_CAPTION_CREATE_DIRS 1040
#define IDM_NO_INI 1041
#define IDM_INI_ERROR 1042
#define IDM_NO_DIRECTORIES 1043
#define IDM_NO_SYSTEMS 1044
#define IDM_COPY_FAILED 1045
#define IDM_DELETE_FAILED 1046

#endif
