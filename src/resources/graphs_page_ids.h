#pragma once
// The Graphs page of the Options dialog.

#define IDC_GRAPHS_USERS 1036
#define IDC_GRAPHS_GRAPH 1037
#define IDC_GRAPHS_DISPLAY 1039
