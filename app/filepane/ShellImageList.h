// The one image list of the namespace's icons, 16 x 16, shared by the folder tree, its combo and
// the file list; the image at each index is the icon of that platform::ShellIcon.
#pragma once

class wxImageList;

// Built at its first use (the toolkit must be running) and kept until the toolkit shuts down;
// nobody else deletes it.
wxImageList &ShellImageList();
