/* Ids of the open-picture dialog's extension template (resources/open_preview.rc), shared by
   the resource script and the preview hook. Plain defines: the resource compiler reads this. */
#ifndef QM_OPEN_PREVIEW_IDS_H
#define QM_OPEN_PREVIEW_IDS_H

#define QM_DLG_OPEN_PREVIEW 106
#define QM_IDC_PREVIEW_PANE 1025
#define QM_IDC_PREVIEW_CHECK 1031
#define QM_IDC_PREVIEW_SIZE 1032
#define QM_IDC_PREVIEW_DEPTH 1033

#endif
