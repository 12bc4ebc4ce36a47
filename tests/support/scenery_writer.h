// The project's own writer of scenery files (being written).
#pragma once
