#pragma once

class QComboBox;

namespace DriveList {

// Fills page 1's Drive1 with the mounted volumes, starting on the one holding the current
// folder, and makes the selected volume's root the drive designation of every read.
void setUp(QComboBox *drive1);

} // namespace DriveList
