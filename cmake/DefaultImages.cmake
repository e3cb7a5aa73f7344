# The default images: the source in data/images and the name each is shipped under. The one list of
# them: the build makes each image from it (data/), and the program copies these into the data folder
# (src/shell). A product's row names its images by the same words ("Default <word> <suffix>").
set(ZAL_DEFAULT_IMAGES
    "bora-v1x:Default BORA V1X"
    "bora-v20:Default BORA V20"
    "bora-v21:Default BORA V21"
    "bora-v22:Default BORA V22"
    "zal-v1x:Default ZAL V1X"
    "zal-v20:Default ZAL V20"
    "zal-v21:Default ZAL V21"
    "zal-v22:Default ZAL V22"
    "dorf-v1x:Default DORF V1X"
    "dorf-v20:Default DORF V20"
    "dorf-v21:Default DORF V21"
    "dorf-v22:Default DORF V22"
    "muve-v1x:Default MUVE V1X"
    "muve-v20:Default MUVE V20"
    "muve-v21:Default MUVE V21"
    "muve-v22:Default MUVE V22"
    "muveplus-v1:Default MUVEPLUS V1"
    "muveplus2-v1:Default MUVEPLUS2 V1"
)
if(ZAL_EXAMPLE_PRODUCT)
    list(APPEND ZAL_DEFAULT_IMAGES "karo-v22:Default KARO V22")
endif()
