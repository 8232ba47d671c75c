// The interface sprites that exist from start-up on.
#include "app/cimage.h"
#include "app/shooter.h"

void Shooter::CreateInterface()
{
    interfaces.Add({500, 32}, {1000, 64}, true, CImage::Load("./bmp/top_bar.bmp"), "top_bar");
    interfaces.Add({500, 634}, {1000, 32}, true, CImage::Load("./bmp/bot_bar.bmp"), "bot_bar");
    // The aiming markers: the drag's origin and the pointer.
    interfaces.Add({0, 0}, {64, 64}, false, CImage::Load("./bmp/Target1.bmp"), "target1");
    interfaces.Add({0, 0}, {16, 16}, false, CImage::Load("./bmp/Target2.bmp"), "target2");
    // One picture shared by every cake icon.
    interfaces.AddCakes(targetsLeft, CImage::Load("./bmp/cake.bmp"));
    interfaces.Add({500, 216}, {400, 200}, true, CImage::Load("./bmp/Start.bmp"), "start_button");
    interfaces.Add({500, 216}, {400, 200}, false, CImage::Load("./bmp/END.bmp"), "end");
}
